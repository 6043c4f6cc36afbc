#ifndef HOST_ESLIDER_H
#define HOST_ESLIDER_H

#include "host/eprogress.h"

// A value between a minimum and a maximum, shown as a bar. It takes the focus;
// left and right lower and raise the value by one.
class eSlider : public eProgress
{
public:
	eSlider(eWidget *parent, eWidget *descr = nullptr, int min = 0, int max = 99);
	const char *className() const override { return "eSlider"; }

	// Clamped to the range; does not fire changed.
	void setValue(int value);
	int getValue() const { return m_value; }
	int getMin() const { return m_min; }
	int getMax() const { return m_max; }
	eWidget *getDescription() const { return m_descr; }

	// Fired with the new value when a key changed it.
	sigc::signal<void(int)> changed;

	int eventHandler(const eWidgetEvent &event) override;
	void describe(eString &out) const override;

private:
	void updatePerc();

	eWidget *m_descr;
	int m_min, m_max;
	int m_value;
};

#endif
