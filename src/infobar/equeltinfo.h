#ifndef INFOBAR_EQUELTINFO_H
#define INFOBAR_EQUELTINFO_H

#include <map>
#include <memory>

#include "host/elabel.h"
#include "host/estring.h"
#include "host/ewidget.h"

class eProgress;
class eTimer;
class gPixmap;

// The infobar ("streambar") that OK opens while a stream plays. It has no layout
// of its own: it takes the receiver's infobar layout "ezap_main" from the active
// skin, fills its elements with what VLC reports of the file, hides what means
// nothing for a file stream, and puts the file name on the LCD.
//
// Once up, a 225 ms tick scrolls a long file name, repaints the logo and closes
// the infobar after 75 ticks; a one-second tick runs the clock; OK and Exit close
// it, yellow and blue change the volume. It is built for one modal run and
// destroyed after it; everything happens on the GUI thread.
class eQUELTInfo : public eWidget
{
public:
	eQUELTInfo();
	~eQUELTInfo() override;

	// What OK during playback does: builds an infobar, shows it, runs it until it
	// closes, hides and destroys it.
	static void run();

	// Builds and fills the infobar; called once by the constructor.
	void init();
	// The 225 ms tick: logo repaint, scrolling, closing after the 75th tick.
	void actualize_EinNow();
	// The clock tick, every second.
	void updateTime();
	// Every action is used here; other events go to the widget.
	int eventHandler(const eWidgetEvent &event) override;
	// Places and shows the logo picture at the configured screen position.
	void showLogo();

	// The skin element of that name (or its invisible replacement); null only for
	// a name outside the infobar's catalogue.
	eWidget *element(const eString &name) const;
	eProgress *progress(const eString &name) const;
	const eLabel &logo() const { return logoLabel; }

protected:
	// The infobar lies over the picture and never clears what is behind it.
	void eraseBackground(gPainter *target, const eRect &area) override {}

private:
	// The elements the infobar creates itself and names before the skin is built.
	void createOwnElements();
	// The skin places only widgets that exist, so the infobar also makes every
	// element it looks up in the layout before the build, unplaced. After the
	// build an element that the layout left untouched counts as missing.
	void prepareLayoutElements();
	// Logs a missing element and leaves its widget without position or size, so
	// it shows nothing but still takes every text, show and hide.
	void lookUpLayoutElement(const char *name);
	// The same for every layout element but the two clocks, in catalogue order.
	void lookUpLayoutElements();
	void setElementText(const char *name, const eString &text);
	void showElement(const char *name);
	void hideElement(const char *name);
	// The last width bytes of the scroll text, on the title and on the LCD.
	void showScrollWindow();
	void closeItself();

	bool blink = false;    // the clock shows the colon form next
	int logoRepaints = 0;  // ticks on which the logo was repainted
	std::unique_ptr<gPixmap> logoPicture; // outlives the label that shows it
	eLabel logoLabel;      // a child of the desktop: its position is a screen position
	std::unique_ptr<eTimer> clockTimer;
	std::map<eString, eWidget *> elements; // children of the infobar, by skin name
	std::unique_ptr<eTimer> tickTimer;     // none once the infobar closed itself
	eString scrollText;
	unsigned int scrollWidth = 0; // trailing bytes of the scroll text on display
	int tickCount = 0;
	bool scrollLeft = true;       // the title moves to the left
};

#endif
