// A small plug-in for the box's own tests: a window with a label, a message box on
// OK, the receiver's "restart the GUI" quit on red, and Exit to leave.

#include "host/actions.h"
#include "host/elabel.h"
#include "host/emessagebox.h"
#include "host/ewindow.h"
#include "host/mainloop.h"

namespace
{
class TestWindow : public eWindow
{
public:
	TestWindow()
	{
		setText("Test plug-in");
		cmove(ePoint(100, 100));
		cresize(eSize(400, 200));
		m_label = new eLabel(this);
		m_label->setName("greeting");
		m_label->move(ePoint(10, 10));
		m_label->resize(eSize(300, 30));
		m_label->setText("Hello from the plug-in");
		addActionMap(&i_shortcutActions->map);
	}

	int eventHandler(const eWidgetEvent &event) override
	{
		if (event.type == eWidgetEvent::evtAction)
		{
			if (event.action == &i_cursorActions->ok)
			{
				eMessageBox box("A box that closes itself", "Information", eMessageBox::iconInfo | eMessageBox::btOK, eMessageBox::btOK, 1);
				box.show();
				box.exec();
				box.hide();
				m_label->setText("The box has closed");
				return 1;
			}
			if (event.action == &i_shortcutActions->red)
			{
				eApp->quit(2);
				return 1;
			}
		}
		return eWindow::eventHandler(event);
	}

private:
	eLabel *m_label;
};
} // namespace

extern "C" __attribute__((visibility("default"))) int plugin_exec(void *)
{
	TestWindow window;
	window.show();
	window.exec();
	window.hide();
	return 0;
}
