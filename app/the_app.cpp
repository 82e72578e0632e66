// The one application object of Setup.exe. The run time constructs it before
// WinMain runs and destroys it when the process exits.
#include "app/instala_app.h"

CInstalaApp theApp;
