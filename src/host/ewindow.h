#ifndef HOST_EWINDOW_H
#define HOST_EWINDOW_H

#include "host/ewidget.h"

// A top-level window with a frame: a border all round and a title bar at the top
// that shows the window's text. move and resize place the frame; cmove and cresize
// place the client area, where the children go.
class eWindow : public eWidget
{
public:
	static constexpr int borderWidth = 2;
	static constexpr int titleBarHeight = 32;

	explicit eWindow(int takeFocus = 0);
	const char *className() const override { return "eWindow"; }

	// Moves the window so that its client area's top left lands on pos (screen coordinates).
	void cmove(const ePoint &pos);
	// Resizes the window so that its client area gets this size.
	void cresize(const eSize &size);

	// The window's own keys: cancel ends a modal run with -1.
	int eventHandler(const eWidgetEvent &event) override;

protected:
	void redrawWidget(gPainter *target, const eRect &area) override;
	eRect clientRectFor(const eSize &frame) const override;
};

#endif
