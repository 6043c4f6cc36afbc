#ifndef HOST_EPROGRESS_H
#define HOST_EPROGRESS_H

#include "host/ewidget.h"

// A horizontal bar: the left part, in the left colour, is the percentage of the
// width; the rest is in the right colour.
class eProgress : public eWidget
{
public:
	explicit eProgress(eWidget *parent, int takeFocus = 0);
	const char *className() const override { return "eProgress"; }

	// Clamped to 0..100.
	void setPerc(int perc);
	int getPerc() const { return m_perc; }
	void setLeftColor(const gColor &c);
	void setRightColor(const gColor &c);
	const gColor &getLeftColor() const { return m_left; }
	const gColor &getRightColor() const { return m_right; }

	// Adds "leftColor" and "rightColor" to the widget's properties.
	int setProperty(const eString &prop, const eString &value) override;
	void describe(eString &out) const override;

protected:
	void redrawWidget(gPainter *target, const eRect &area) override;

private:
	int m_perc = 0;
	gColor m_left{0x30, 0xa0, 0x30};
	gColor m_right{0x40, 0x40, 0x40};
};

#endif
