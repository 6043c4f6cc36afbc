#ifndef HOST_ELABEL_H
#define HOST_ELABEL_H

#include "host/ewidget.h"

// A text and/or a picture. The text follows the "align" and "vcenter" properties
// and wraps at the label's width; the picture is drawn first, the text over it.
class eLabel : public eWidget
{
public:
	explicit eLabel(eWidget *parent, int flags = 0, int takeFocus = 0, const char *deco = "eLabel");
	const char *className() const override { return "eLabel"; }
	// The platform's label flags, kept as given.
	int getFlags() const { return m_flags; }

protected:
	void redrawWidget(gPainter *target, const eRect &area) override;

private:
	int m_flags;
};

#endif
