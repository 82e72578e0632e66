"""Setup.exe on a real implementation of the platform.

Runs build/windows-x64/Setup.exe under Wine 8 (its service manager, process
creation, message boxes, code pages and Windows Installer) with a real
Tolmo.msi, and observes the platform calls through Wine's relay trace, the
launcher's exit status, and what the real msiexec installed.

One Wine prefix serves the whole run; its server is started persistent before
any service and ended at the end. Every wait has a time limit.

Paths come from the environment (CTest sets them): TOLMO_SETUP_EXE,
TOLMO_RUN_EXIT, TOLMO_PLANTED_MSIEXEC, TOLMO_MSI and TOLMO_WINE_WORK.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import relay  # noqa: E402

SETUP_EXE = Path(os.environ.get('TOLMO_SETUP_EXE', 'build/windows-x64/Setup.exe')).resolve()
RUN_EXIT = Path(os.environ.get('TOLMO_RUN_EXIT', 'build/windows-x64/tests/wine/run_exit.exe')).resolve()
PLANTED = Path(os.environ.get('TOLMO_PLANTED_MSIEXEC',
                              'build/windows-x64/tests/wine/planted_msiexec.exe')).resolve()
MSI = Path(os.environ.get('TOLMO_MSI', 'build/windows-x64/Tolmo.msi')).resolve()
WORK = Path(os.environ.get('TOLMO_WINE_WORK', 'build/windows-x64/wine-tests')).resolve()
PREFIX = WORK / 'prefix'

TRACED = ['CoInitialize', 'CoUninitialize', 'SetErrorMode', 'OpenSCManagerA', 'OpenServiceA',
          'QueryServiceStatus', 'CloseServiceHandle', 'MessageBoxA', 'CreateProcessA',
          'CreateProcessWithLogonW', 'LoadLibraryA', 'GetProcAddress', 'FreeLibrary']

SYSTEM_MSIEXEC = 'C:\\windows\\system32\\msiexec.exe'
PACKAGE = 'msiexec.exe /i Tolmo.msi '
SERVICE_MESSAGE = ('O serviço WinMgmt não está executando. '
                   'Não é possível continuar a instalação.').encode('cp1252')

ERROR_SERVICE_NOT_ACTIVE = 1062
ERROR_INSTALL_FAILURE = 1603
ERROR_INTERNAL_ERROR = 1359

ANY = object()  # an argument whose value is not looked at (pointers, handles)


def logon_failure_message(command_line, user, domain, code):
    """The box a refused start with a logon shows, as Windows-1252 bytes."""
    return (b'N\xe3o foi poss\xedvel executar a instala\xe7\xe3o (' + command_line + b').\n'
            b'Usu\xe1rio: ' + user + b'@' + domain + b'\n'
            b'Erro: (' + str(code).encode() + b')')


def windows_path(path):
    return 'Z:' + str(path).replace('/', '\\')


def image_range(exe):
    """The address range Setup.exe occupies when loaded at its preferred base."""
    data = exe.read_bytes()
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    optional = pe + 24
    base = struct.unpack_from('<Q', data, optional + 24)[0]
    size = struct.unpack_from('<I', data, optional + 56)[0]
    return base, base + size


def env(**extra):
    e = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDEBUG='-all', WINEARCH='win64')
    e.pop('DISPLAY', None)  # a message box then returns at once
    e.update(extra)
    return e


def wine(*args, timeout=120, **extra):
    """Runs a Wine program and returns its output. Output goes through a file,
    never a pipe: programs Wine starts on the way (the service manager, say)
    inherit it and outlive the call, and a pipe would never be closed."""
    with tempfile.TemporaryFile() as out:
        completed = subprocess.run(['wine', *map(str, args)], env=env(**extra), stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=subprocess.STDOUT, timeout=timeout)
        out.seek(0)
        return completed.returncode, out.read()


def wait_for(seconds, predicate):
    deadline = time.monotonic() + seconds
    while True:
        if predicate():
            return True
        if time.monotonic() > deadline:
            return False
        time.sleep(0.5)


class Run:
    """One run of the launcher: its exit status and the traced calls it made."""

    def __init__(self, exit_code, calls, log):
        self.exit_code = exit_code
        self.calls = calls
        self.log = log

    def log_tail(self, lines=40):
        """The end of what Wine printed during the run, relay lines left out."""
        return '\n'.join(relay.other_lines(self.log)[-lines:])

    def named(self, name):
        return [c for c in self.calls if c.name == name]


def side_by_side(expected, observed):
    width = max([len('expected')] + [len(repr(e)) for e in expected]) + 2
    lines = [f'{"expected":<{width}}| observed']
    for i in range(max(len(expected), len(observed))):
        e = repr(expected[i]) if i < len(expected) else ''
        o = repr(observed[i]) if i < len(observed) else ''
        mark = ' ' if i < len(expected) and i < len(observed) and matches(expected[i], observed[i]) else '*'
        lines.append(f'{e:<{width}}|{mark}{o}')
    return '\n'.join(lines)


class Expect:
    """An expected call: its name and its arguments (ANY for any value)."""

    def __init__(self, name, *args):
        self.name = name
        self.args = args

    def __repr__(self):
        shown = ['*' if a is ANY else (f'{a:#x}' if isinstance(a, int) else repr(a)) for a in self.args]
        return f'{self.name}({", ".join(shown)})'


def matches(expect, call):
    if expect.name != call.name or len(expect.args) != len(call.args):
        return False
    for want, got in zip(expect.args, call.args):
        if want is ANY:
            continue
        if isinstance(want, int):
            if got.value != want or got.text is not None:
                return False
        elif got.text != want or got.truncated:
            return False
    return True


def service_check_calls():
    return [Expect('CoInitialize', 0), Expect('SetErrorMode', 0x8001),
            Expect('OpenSCManagerA', 0, 0, 1), Expect('OpenServiceA', ANY, b'WinMgmt', 4),
            Expect('QueryServiceStatus', ANY, ANY), Expect('CloseServiceHandle', ANY),
            Expect('CloseServiceHandle', ANY)]


class LauncherOnWine(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        for needed in (SETUP_EXE, RUN_EXIT, PLANTED, MSI):
            if not needed.is_file():
                raise RuntimeError(f'missing {needed}: build the windows-x64 preset first')
        if shutil.which('wine') is None:
            raise RuntimeError('wine is not installed: run scripts/install-deps.sh')
        shutil.rmtree(WORK, ignore_errors=True)
        PREFIX.mkdir(parents=True)
        quiet = dict(env=env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The prefix is made and its first server ended before the persistent
        # server starts: a prefix made under an already running server ends up
        # with two service managers, which answer queries about WinMgmt in turn.
        subprocess.run(['wineboot', '-i'], timeout=300, **quiet)
        subprocess.run(['wineserver', '-w'], timeout=120, **quiet)
        # The server must not inherit our pipes, or reading them never ends.
        subprocess.run(['wineserver', '-p'], timeout=60, check=True, **quiet)
        wine('reg', 'add', 'HKCU\\Software\\Wine\\Debug', '/v', 'RelayInclude', '/d', ';'.join(TRACED), '/f')

        cls.dist = WORK / 'dist'
        cls.dist.mkdir()
        shutil.copy(SETUP_EXE, cls.dist / 'Setup.exe')
        shutil.copy(SETUP_EXE, cls.dist / 'instala.novo.exe')
        cls.image = image_range(SETUP_EXE)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(['wineserver', '-k'], env=env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    # --- helpers ------------------------------------------------------------------

    def service(self, action):
        want = '4' if action == 'start' else '1'

        def in_state():
            out = wine('sc', 'query', 'winmgmt', timeout=60)[1].decode(errors='replace')
            return any(line.split()[2:3] == [want] for line in out.splitlines() if 'STATE' in line)

        def reached():
            if in_state():
                return True
            wine('net', action, 'winmgmt', timeout=60)
            return in_state()

        self.assertTrue(wait_for(60, reached), f'WinMgmt did not {action}')

    def launch(self, arguments, **options):
        """Runs the launcher through run_exit.exe and reads back what it did.
        Wine now and then fails to bring a new process up: the installer's
        process dies before it is initialised and CreateProcessA fails with
        ERROR_INTERNAL_ERROR, which the launcher rightly reports as its exit
        status. That is the platform's failure, not the launcher's, so such a
        run is shown and made once more."""
        run = self.launch_once(arguments, **options)
        if run.exit_code == ERROR_INTERNAL_ERROR:
            print(f'\nWine could not start the installer (error {ERROR_INTERNAL_ERROR}); running once more. '
                  f'Wine printed:\n{run.log_tail()}', file=sys.stderr, flush=True)
            run = self.launch_once(arguments, **options)
        return run

    def launch_once(self, arguments, exe='Setup.exe', cwd=None, locale=None, traced=True, dist=None):
        cwd = cwd or self.folder('run-empty')
        exe_path = (dist or self.dist) / exe
        trace_file = WORK / 'relay.txt'
        # Untraced runs keep Wine's default error and fixme channels, so a
        # failure can show why a process did not start.
        extra = {'WINEDEBUG': '+pid,+relay' if traced else '+pid'}
        if locale:
            extra['LC_ALL'] = locale
        with open(trace_file, 'wb') as trace, open(WORK / 'stdout.txt', 'wb') as out:
            # Files, not pipes: the installer the launcher starts inherits them
            # and may outlive it.
            subprocess.run(['wine', str(RUN_EXIT), windows_path(exe_path), *arguments], cwd=cwd,
                           env=env(**extra), stdin=subprocess.DEVNULL, stdout=out, stderr=trace,
                           timeout=120)
        report = dict(line.split('=', 1) for line in
                      (WORK / 'stdout.txt').read_text(errors='replace').split() if '=' in line)
        self.assertIn('exit', report, f'run_exit did not report: {report}')
        trace = trace_file.read_text(encoding='latin-1')
        pid = int(report['pid'], 16)
        low, high = self.image
        calls = [c for c in relay.parse(trace, pid) if c.name in TRACED and low <= c.ret < high]
        if traced:
            self.assertTrue(calls, f'no traced call of process {pid:#x} from Setup.exe\'s image')
        return Run(int(report['exit']), calls, trace)

    def folder(self, name, files=()):
        path = WORK / name
        path.mkdir(exist_ok=True)
        for f in files:
            (path / f).write_bytes(b'')
        return path

    def assertCalls(self, expected, run):
        ok = len(expected) == len(run.calls) and all(map(matches, expected, run.calls))
        if not ok:
            self.fail('platform calls differ (* marks a difference):\n' + side_by_side(expected, run.calls))

    def registry_note(self):
        out = wine('reg', 'query', 'HKLM\\Software\\Veslor\\Tolmo', '/v', 'Nota', timeout=60)[1]
        for line in out.decode('utf-8', errors='replace').splitlines():
            parts = line.strip().split(None, 2)
            if parts[:2] == ['Nota', 'REG_SZ']:
                return parts[2] if len(parts) > 2 else ''
        return None

    def installed_file(self):
        return PREFIX / 'drive_c' / 'Program Files' / 'Tolmo' / 'leia-me.txt'

    def uninstall(self):
        wine('msiexec', '/x', windows_path(MSI), '/qn', timeout=180)
        self.assertTrue(wait_for(60, lambda: self.registry_note() is None), 'Tolmo did not uninstall')

    # --- the cases -------------------------------------------------------------------

    def test_1_service_not_running(self):
        self.service('stop')
        for exe, caption in [('Setup.exe', b'Setup'), ('instala.novo.exe', b'instala.novo')]:
            with self.subTest(exe=exe):
                run = self.launch(['/qn'], exe=exe)
                self.assertCalls(service_check_calls() + [
                    Expect('MessageBoxA', 0, SERVICE_MESSAGE, caption, 0x10),
                    Expect('CoUninitialize'),
                ], run)
                self.assertEqual(run.exit_code, ERROR_SERVICE_NOT_ACTIVE)

    def test_2_arguments_passed_on(self):
        self.service('start')
        rows = [
            # name, arguments, files in the current directory, command line
            ('none', [], [], PACKAGE),
            ('quiet', ['/qn'], [], PACKAGE + ' /qn'),
            ('empty between', ['x', '', 'y'], [], PACKAGE + ' x  y'),
            ('short keyword', ['/USU'], [], PACKAGE + ' /USU'),
            ('malformed logon dropped',
             ['/qn', '/USUARIO=setup', '/USUARIO', '/usuarioX;semigual', '/norestart'], [],
             PACKAGE + ' /qn /norestart'),
            ('wildcards not expanded', ['*.txt', '?.msi'], ['a.txt', 'b.txt', 'c.msi'],
             PACKAGE + ' *.txt ?.msi'),
            ('bytes above 127', ['NOTA=café', 'ÀÉÎõü'], [], PACKAGE + ' NOTA=café ÀÉÎõü'),
            ('blanks quoted', ['NOTA=value with blanks', 'C:\\my logs\\x.log'], [],
             PACKAGE + ' NOTA="value with blanks" "C:\\my logs\\x.log"'),
        ]
        for name, arguments, files, command_line in rows:
            with self.subTest(name):
                cwd = self.folder('run-args-' + name.replace(' ', '-'), files)
                run = self.launch(arguments, cwd=cwd)
                self.assertCalls(service_check_calls() + [
                    Expect('CreateProcessA', SYSTEM_MSIEXEC.encode(), command_line.encode('cp1252'),
                           0, 0, 0, 0, 0, 0, ANY, ANY),
                    Expect('CoUninitialize'),
                ], run)
                self.assertEqual(run.exit_code, 0)

    def test_3_logon_refused_by_wine(self):
        # Wine 8 refuses CreateProcessWithLogonW without setting an error code.
        self.service('start')
        rows = [
            # name, arguments, user, domain, password, passed-on arguments
            ('with domain', ['/qn', '/USUARIO=setup@OFFICE;s3cr3t!', '/norestart'],
             'setup', 'OFFICE', 's3cr3t!', ' /qn /norestart'),
            ('without domain', ['/USUARIO=setup;s3cr3t'], 'setup', '.', 's3cr3t', ''),
            ('at last', ['/USUARIO=setup@;s3cr3t'], 'setup', '', 's3cr3t', ''),
            ('at first', ['/USUARIO=@OFFICE;s3cr3t'], '', 'OFFICE', 's3cr3t', ''),
            ('several at', ['/USUARIO=setup@OFFICE@HQ;pa;ss@w=rd'], 'setup', 'OFFICE@HQ', 'pa;ss@w=rd', ''),
            ('semicolon before equals', ['/USUARIO;pass=word'], '', '.', 'pass=word', ''),
            ('lower-case suffixed keyword', ['/usuarioX=setup;s3cr3t'], 'setup', '.', 's3cr3t', ''),
            ('last well-formed wins', ['/USUARIO=setup@OFFICE;first', '/USUARIO=deploy;second', '/USUARIO=x'],
             'deploy', '.', 'second', ''),
        ]
        cwd = self.folder('run-logon')
        for name, arguments, user, domain, password, passed_on in rows:
            with self.subTest(name):
                run = self.launch(arguments, cwd=cwd)
                command_line = PACKAGE + passed_on
                box = logon_failure_message(command_line.encode(), user.encode(), domain.encode(), 0)
                self.assertCalls(service_check_calls() + [
                    Expect('LoadLibraryA', b'Advapi32.dll'),
                    Expect('GetProcAddress', ANY, b'CreateProcessWithLogonW'),
                    Expect('CreateProcessWithLogonW', user, domain, password, 0, SYSTEM_MSIEXEC, command_line,
                           0, 0, windows_path(cwd), ANY, ANY),
                    Expect('MessageBoxA', 0, box, b'Setup', 0x30),
                    Expect('FreeLibrary', ANY),
                    Expect('CoUninitialize'),
                ], run)
                self.assertNotIn(password.encode(), run.named('MessageBoxA')[0].args[1].text)
                self.assertEqual(run.exit_code, ERROR_INSTALL_FAILURE)

    def test_4_double_byte_code_page(self):
        # Under a Japanese locale Wine's ANSI code page is 932, where "ァ" is
        # the bytes 0x83 0x40 and 0x40 is "@": the account must not divide there.
        self.service('start')
        cwd = self.folder('run-dbcs')
        run = self.launch(['/USUARIO=ァ@DOM;pw', 'NOTA=ァ'], cwd=cwd, locale='ja_JP.UTF-8')
        command_line = PACKAGE + ' NOTA=ァ'
        self.assertCalls(service_check_calls() + [
            Expect('LoadLibraryA', b'Advapi32.dll'),
            Expect('GetProcAddress', ANY, b'CreateProcessWithLogonW'),
            Expect('CreateProcessWithLogonW', 'ァ', 'DOM', 'pw', 0, SYSTEM_MSIEXEC, command_line,
                   0, 0, windows_path(cwd), ANY, ANY),
            Expect('MessageBoxA', 0,
                   logon_failure_message(command_line.encode('cp932'), b'\x83\x40', b'DOM', 0), b'Setup', 0x30),
            Expect('FreeLibrary', ANY),
            Expect('CoUninitialize'),
        ], run)
        self.assertEqual(run.exit_code, ERROR_INSTALL_FAILURE)

    def test_5_real_installs(self):
        self.service('start')
        long_note = ' '.join(f'palavra{i:03d}' for i in range(60))  # 659 characters
        rows = [
            ('value with blanks', 'valor com varios espacos'),
            ('command line over 600 characters', long_note),
        ]
        run_dir = self.folder('run-install')
        shutil.copy(MSI, run_dir / 'Tolmo.msi')
        for name, note in rows:
            with self.subTest(name):
                run = self.launch(['/qn', 'NOTA=' + note], cwd=run_dir, traced=False)
                self.assertEqual(run.exit_code, 0, 'Wine printed:\n' + run.log_tail())
                arrived = wait_for(180, lambda: self.installed_file().is_file() and self.registry_note() == note)
                self.assertTrue(arrived, f'expected Nota = {note!r}\nobserved Nota = {self.registry_note()!r}')
                self.uninstall()

    def test_6_planted_msiexec_never_runs(self):
        self.service('start')
        dist = self.folder('dist-planted')
        shutil.copy(SETUP_EXE, dist / 'Setup.exe')
        shutil.copy(PLANTED, dist / 'msiexec.exe')
        run_dir = self.folder('run-planted')
        shutil.copy(MSI, run_dir / 'Tolmo.msi')
        shutil.copy(PLANTED, run_dir / 'msiexec.exe')

        run = self.launch(['/qn', 'NOTA=instalado sem impostor'], cwd=run_dir, dist=dist)

        markers = [dist / 'msiexec.exe.ran', run_dir / 'msiexec.exe.ran']
        wait_for(180, lambda: self.registry_note() == 'instalado sem impostor' or any(m.exists() for m in markers))
        self.assertFalse(markers[0].exists(), 'the msiexec.exe beside Setup.exe ran')
        self.assertFalse(markers[1].exists(), 'the msiexec.exe in the current directory ran')
        self.assertEqual(run.exit_code, 0, 'Wine printed:\n' + run.log_tail())
        started = [c.args[0].text for c in run.named('CreateProcessA')]
        self.assertEqual(started, [SYSTEM_MSIEXEC.encode()])
        self.assertEqual(self.registry_note(), 'instalado sem impostor', 'the real installer did not install')
        self.uninstall()


if __name__ == '__main__':
    unittest.main(verbosity=2)
