#ifndef HOST_ENUMBER_H
#define HOST_ENUMBER_H

#include <vector>

#include "host/ewidget.h"

// One or more numbers edited with the digit keys, shown separated by dots. A
// digit typed into a field replaces its value; further digits append until the
// field holds maxdigits digits, then editing moves on to the next field. A field
// is kept within min..max. With one field left and right lower and raise the
// number by one; with several they move between the fields. OK fires selected.
// isactive is accepted as the platform passes it: a number is always editable.
class eNumber : public eWidget
{
public:
	eNumber(eWidget *parent, int len, int min, int max, int maxdigits, int *init, int isactive = 0,
		eWidget *descr = nullptr, int grabfocus = 1, const char *deco = "eNumber");
	const char *className() const override { return "eNumber"; }

	// Clamped to min..max; does not fire numberChanged.
	void setNumber(int field, int number);
	void setNumber(int number) { setNumber(0, number); }
	// The field's number (0 for a field that does not exist).
	int getNumber(int field = 0) const;
	int getFieldCount() const { return int(m_values.size()); }
	int getActiveField() const { return m_active; }
	eWidget *getDescription() const { return m_descr; }

	// Fired when a key changed a number.
	sigc::signal<void()> numberChanged;
	// Fired by OK with the numbers.
	sigc::signal<void(int *)> selected;

	int eventHandler(const eWidgetEvent &event) override;

protected:
	void redrawWidget(gPainter *target, const eRect &area) override;
	void lostFocus() override { m_typed = 0; }

private:
	void updateText();
	void typeDigit(int digit);

	std::vector<int> m_values;
	int m_min, m_max, m_maxDigits;
	int m_active = 0;
	// Digits typed into the active field so far.
	int m_typed = 0;
	eWidget *m_descr;
};

#endif
