#ifndef HOST_ESTATUSBAR_H
#define HOST_ESTATUSBAR_H

#include "host/elabel.h"

// The status line of a window: its text is the help text of the window's focused
// widget, kept up to date as the focus moves and the help text changes.
class eStatusBar : public eLabel
{
public:
	explicit eStatusBar(eWidget *parent, const char *deco = "eStatusBar");
	const char *className() const override { return "eStatusBar"; }

private:
	void update(eWidget *focus);
};

#endif
