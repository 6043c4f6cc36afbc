#ifndef HOST_EMESSAGEBOX_H
#define HOST_EMESSAGEBOX_H

#include <memory>
#include <vector>

#include "host/ewindow.h"

class eLabel;

// A window with a message, an optional icon and optional buttons, centred on the
// screen. flags combine buttons and one icon: 16 is the information icon alone,
// 17 adds the OK button, 129 is the error icon with OK.
//
// exec() returns the value of the button OK was pressed on (the default button
// starts focused; left and right move between buttons), def when the box has no
// buttons, -1 for Exit, and def when the timeout (seconds, 0 none) runs out. The
// timeout counts from show(). A box that is only shown hides itself at the timeout.
class eMessageBox : public eWindow
{
public:
	enum
	{
		btOK = 1,
		btCancel = 2,
		btYes = 4,
		btNo = 8,
		btMax = 15,
		iconInfo = 16,
		iconWarning = 32,
		iconQuestion = 64,
		iconError = 128,
	};

	eMessageBox(const eString &message, const eString &caption, int flags = btOK, int def = btOK, int timeout = 0);
	~eMessageBox() override;
	const char *className() const override { return "eMessageBox"; }

	const eString &getMessage() const { return m_message; }
	int getFlags() const { return m_flags; }
	int getTimeout() const { return m_timeout; }

	int eventHandler(const eWidgetEvent &event) override;
	void describe(eString &out) const override;

protected:
	void willShow() override;
	void willHide() override;

private:
	struct Button
	{
		eLabel *label;
		int value;
	};
	void layout();
	void timedOut();
	void focusMoved(eWidget *focus);
	int focusedValue() const;

	eString m_message;
	int m_flags, m_def, m_timeout;
	eLabel *m_icon = nullptr;
	eLabel *m_text = nullptr;
	std::vector<Button> m_buttons;
	std::unique_ptr<eTimer> m_timer;
};

#endif
