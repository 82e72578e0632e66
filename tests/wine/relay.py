"""Reading Wine's relay trace.

With WINEDEBUG=+pid,+relay every call into a traced DLL entry point is
printed as

    018c:0190:Call user32.MessageBoxA(00000000,00cb3d90 "N\\xe3o ...",140021278 "Setup",00000030) ret=140013d6a

Narrow strings are printed with C escapes and \\xNN for bytes above 127;
wide strings as L"..." with \\NNNN for code units above 127. Strings longer
than about 300 characters are cut and end in "... instead of ".
"""

import re
from dataclasses import dataclass, field

# Lines the relay channel itself prints: calls, returns, the relay settings
# it read and the start of each thread.
RELAY_MARKS = (':Call ', ':Ret ', ':trace:relay:', ':Starting thread proc ')

CALL = re.compile(r'^(?P<pid>[0-9a-f]{4}):(?P<tid>[0-9a-f]{4}):Call (?P<dll>[\w.]+)\.(?P<name>\w+)\((?P<args>.*)\) ret=(?P<ret>[0-9a-f]+)$')


@dataclass(frozen=True)
class Arg:
    """One argument: a number, or a pointer with the string it points to."""
    value: int
    text: object = None      # bytes for narrow strings, str for wide ones
    truncated: bool = False

    def __repr__(self):
        if self.text is None:
            return f'{self.value:#x}'
        cut = '...' if self.truncated else ''
        return f'{self.text!r}{cut}'


@dataclass
class Call:
    pid: int
    dll: str
    name: str
    args: list = field(default_factory=list)
    ret: int = 0

    def __repr__(self):
        return f'{self.name}({", ".join(map(repr, self.args))})'


_SIMPLE_ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', '"': '"', '\\': '\\', "'": "'", '0': '\0'}


def _read_string(text, i, wide):
    """Reads a quoted string that starts at text[i] == '"'.

    Returns (decoded, truncated, index after the string)."""
    assert text[i] == '"'
    i += 1
    out = [] if wide else bytearray()
    while True:
        if text.startswith('"...', i):
            return (''.join(out) if wide else bytes(out)), True, i + 4
        c = text[i]
        if c == '"':
            return (''.join(out) if wide else bytes(out)), False, i + 1
        if c == '\\':
            e = text[i + 1]
            if not wide and e == 'x':
                out.append(int(text[i + 2:i + 4], 16))
                i += 4
                continue
            if wide and re.match(r'[0-9a-f]{4}', text[i + 1:i + 5]):
                out.append(chr(int(text[i + 1:i + 5], 16)))
                i += 5
                continue
            ch = _SIMPLE_ESCAPES.get(e, e)
            out.append(ch if wide else ord(ch))
            i += 2
            continue
        out.append(c if wide else ord(c))
        i += 1


def _parse_args(text):
    args = []
    i = 0
    while i < len(text):
        number = re.match(r'[0-9a-f]+', text[i:])
        if not number:
            raise ValueError(f'cannot read relay arguments at {text[i:]!r}')
        value = int(number.group(0), 16)
        i += number.end()
        arg = Arg(value)
        if text.startswith(' "', i) or text.startswith(' L"', i):
            wide = text[i + 1] == 'L'
            i += 2 if wide else 1
            decoded, truncated, i = _read_string(text, i, wide)
            arg = Arg(value, decoded, truncated)
        args.append(arg)
        if i < len(text):
            if text[i] != ',':
                raise ValueError(f'expected "," in relay arguments at {text[i:]!r}')
            i += 1
    return args


def parse(trace, pid):
    """The calls that process `pid` made, in order."""
    calls = []
    for line in trace.splitlines():
        match = CALL.match(line)
        if match and int(match['pid'], 16) == pid:
            calls.append(Call(pid, match['dll'], match['name'], _parse_args(match['args']),
                              int(match['ret'], 16)))
    return calls


def other_lines(trace):
    """The lines of a Wine log that the relay channel did not print: Wine's
    own errors and warnings, and whatever the programs wrote."""
    return [line for line in trace.splitlines() if not any(mark in line for mark in RELAY_MARKS)]
