#include "plugin/equelt.h"

// The receiver calls this once on its GUI thread; the argument is not used. The
// main window runs modally until Exit or the timer guard closes it.
extern "C" __attribute__((visibility("default"))) int plugin_exec(void *)
{
	eQUELT dlg;
	dlg.show();
	dlg.exec();
	dlg.hide();
	return 0;
}
