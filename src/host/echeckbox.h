#ifndef HOST_ECHECKBOX_H
#define HOST_ECHECKBOX_H

#include "host/elabel.h"

// A box that is checked or not, with the widget's text beside it (the box on the
// left, or on the right when swapped). OK toggles it.
class eCheckbox : public eLabel
{
public:
	explicit eCheckbox(eWidget *parent, int checked = 0, int takeFocus = 0, bool swapTxtPixmap = false,
		const char *deco = "eCheckBox");
	const char *className() const override { return "eCheckbox"; }

	// Does not fire the signals.
	void setCheck(int checked);
	int isChecked() const { return m_checked; }

	// Fired by OK after the toggle: checked with the new state, then selected.
	sigc::signal<void(int)> checked;
	sigc::signal<void()> selected;

	int eventHandler(const eWidgetEvent &event) override;
	void describe(eString &out) const override;

protected:
	void redrawWidget(gPainter *target, const eRect &area) override;

private:
	int m_checked;
	bool m_swap;
};

#endif
