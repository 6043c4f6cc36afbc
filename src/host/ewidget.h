#ifndef HOST_EWIDGET_H
#define HOST_EWIDGET_H

#include <sigc++/sigc++.h>

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <vector>

#include "host/actions.h"
#include "host/erect.h"
#include "host/estring.h"
#include "host/gcolor.h"
#include "host/mainloop.h"

class gPainter;
class gPixmap;

// The platform's widget: one node of a retained tree. A parent owns its children
// and deletes them with itself; a child that is deleted first leaves its parent.
// A widget's position is relative to its parent's client area. A plain widget's
// client area is the whole widget; a window's is the part inside its frame.
//
// A top-level widget has no parent, or has the desktop as its parent. Top-level
// widgets are kept back to front: showing one brings it to the front.
//
// Widgets live on the GUI thread only.
class eWidget : public sigc::trackable
{
public:
	explicit eWidget(eWidget *parent = nullptr, int takeFocus = 0);
	virtual ~eWidget();
	eWidget(const eWidget &) = delete;
	eWidget &operator=(const eWidget &) = delete;

	// The class name the snapshot text shows ("eLabel", "eWindow", ...).
	virtual const char *className() const { return "eWidget"; }

	// -- Geometry. move and resize place the whole widget (for a window: its frame).
	void move(const ePoint &pos);
	void resize(const eSize &size);
	ePoint getPosition() const { return m_position; }
	eSize getSize() const { return m_size; }
	// The client area, relative to the widget's own top left.
	eRect getClientRect() const;
	eSize getClientSize() const { return getClientRect().size(); }
	// The widget's frame in screen coordinates.
	eRect getAbsoluteRect() const;
	// The client area in screen coordinates; children are placed from its top left.
	eRect getAbsoluteClientRect() const;

	// -- Tree.
	eWidget *getParent() const { return m_parent; }
	const std::list<eWidget *> &getChildren() const { return m_children; }
	// The top-level widget this one belongs to (itself when it is top-level).
	eWidget *getTLW();
	const eWidget *getTLW() const;
	bool isTopLevel() const;
	// This widget or a descendant (depth first, in creation order) with that name, else null.
	eWidget *search(const eString &name);
	void setName(const eString &name) { m_name = name; }
	const eString &getName() const { return m_name; }

	// -- Visibility. A widget is drawn only when it and all its ancestors are shown.
	// A child starts shown, so it appears with its parent; a top-level widget
	// starts hidden.
	void show();
	void hide();
	bool isVisible() const { return m_visible; }
	bool isVisibleOnScreen() const;
	// Brings the widget in front of its siblings (a top-level one: of the other top-levels).
	void zOrderRaise();
	// Puts the widget behind its siblings.
	void zOrderLower();

	// -- Content.
	virtual void setText(const eString &text);
	const eString &getText() const { return m_text; }
	void setHelpText(const eString &text);
	const eString &getHelpText() const { return m_helpText; }
	// Properties as skins write them: "align" (left, center, right), "vcenter",
	// "backgroundColor", "foregroundColor", "font" ("family:size" or a skin font
	// name), "text", "helptext", "name", "position" and "size" ("x:y" or "x,y").
	// The value is stored in any case; the result is 0 when the property means
	// something to this widget, -1 otherwise. Subclasses add their own.
	virtual int setProperty(const eString &prop, const eString &value);
	bool hasProperty(const eString &prop) const { return m_properties.count(prop) != 0; }
	// The stored value, or an empty string.
	eString getProperty(const eString &prop) const;
	const std::map<eString, eString> &getProperties() const { return m_properties; }

	// A picture the widget shows, drawn at the pixmap position (the client area's
	// top left unless set). The widget does not own it.
	void setPixmap(gPixmap *pixmap);
	gPixmap *getPixmap() const { return m_pixmap; }
	void setPixmapPosition(const ePoint &pos);
	ePoint getPixmapPosition() const { return m_pixmapPosition; }
	// Flags for gPainter::blit (gPainter::BF_ALPHA_TEST: transparent pixels are skipped).
	void setBlitFlags(int flags);
	int getBlitFlags() const { return m_blitFlags; }
	// The name of the frame decoration the skin draws around the widget. Kept as
	// data: this host draws no decorations.
	void loadDeco(const eString &deco = eString());
	const eString &getDeco() const { return m_deco; }

	// Colours and font, set directly or through the properties above. Without a
	// background colour a widget draws no background.
	void setBackgroundColor(const gColor &c);
	void setForegroundColor(const gColor &c);
	void setFont(const gFont &f);
	const gColor &getBackgroundColor() const { return m_backgroundColor; }
	const gColor &getForegroundColor() const { return m_foregroundColor; }
	bool hasBackgroundColor() const { return m_hasBackground; }
	const gFont &getFont() const { return m_font; }

	// Colour and font names that are not written out ("std_dred") are asked of
	// these lookups; the skin installs them. Colours written "#rrggbb" or
	// "#aarrggbb" and fonts written "family:size" need none.
	static void setColorLookup(std::function<bool(const eString &name, gColor &out)> lookup);
	static void setFontLookup(std::function<bool(const eString &name, gFont &out)> lookup);
	static bool parseColor(const eString &text, gColor &out);
	static bool parseFont(const eString &text, gFont &out);
	// Written out, or else asked of the lookup; false when neither knows it.
	static bool lookupColor(const eString &text, gColor &out);
	static bool lookupFont(const eString &text, gFont &out);

	// -- Focus. Widgets created with takeFocus form the focus chain of their
	// top-level widget, in creation order; the first one starts focused.
	bool takesFocus() const { return m_takeFocus != 0; }
	// Focuses w in this widget's top-level focus chain (null: no focus).
	void setFocus(eWidget *w);
	// The focused widget of this widget's top-level widget, or null.
	eWidget *getFocus() const;
	bool hasFocus() const;
	// Moves the focus to the next shown widget of the chain, wrapping around;
	// direction +1 or -1.
	void focusNext(int direction = 1);
	const std::vector<eWidget *> &getFocusChain() const { return m_focusChain; }
	// Fired on a top-level widget when its focus moves, or when the focused
	// widget's help text changes; carries the focused widget (or null).
	sigc::signal<void(eWidget *)> statusChanged;

	// -- Keys (see KeyRouter for the route a key takes).
	void addActionMap(eActionMap *map);
	void removeActionMap(eActionMap *map);
	const std::vector<eActionMap *> &getActionMaps() const { return m_actionMaps; }
	// Returns nonzero when the event was used. The plain widget uses nothing.
	virtual int eventHandler(const eWidgetEvent &event);

	// -- Modal runs. exec() shows the widget and runs a nested loop of eApp until
	// close(code) is called on it, and returns that code (-1 when the application
	// quits). close ends this widget's run only. A close before exec is remembered:
	// the next exec returns its code at once.
	int exec();
	void close(int code);
	bool isModal() const { return m_loopId != 0; }

	// -- Painting. redraw paints this widget and its shown children, each clipped to
	// its parent's client area. invalidate marks the widget dirty and calls the
	// repaint hook when the widget is on screen.
	void redraw(gPainter &painter);
	void invalidate();
	bool isDirty() const { return m_dirty; }
	// The box sets this to repaint the screen; unset, nothing is called. The hook
	// gets the widget that changed, or null when a shown widget was deleted.
	static void setRepaintHook(std::function<void(eWidget *)> hook);

	// -- Screen.
	// The full-screen root (720x576, always shown). Its children are top-level
	// widgets; it is not in the top-level list itself.
	static eWidget *desktop();
	// Every top-level widget, back to front.
	static const std::list<eWidget *> &topLevelWidgets();
	// Paints every shown top-level widget, back to front.
	static void redrawScreen(gPainter &painter);
	// The widget keys go to: the innermost modal run's widget; without a modal run
	// the front-most shown top-level widget that has action maps or a focus chain;
	// else null.
	static eWidget *keyTarget();

	// For the snapshot text: facts beyond the common ones, as " key=value" pairs.
	virtual void describe(eString &out) const {}
	// For the snapshot text: extra lines below the widget (a list's entries).
	virtual void describeLines(std::vector<eString> &lines) const {}

	// A token that expires when the widget dies, for callers that must notice.
	std::weak_ptr<char> lifeToken() const { return m_life; }

protected:
	// Paints the widget's own content. The painter's origin is the widget's top
	// left and it is clipped to the widget; area is the widget's rectangle there.
	virtual void redrawWidget(gPainter *target, const eRect &area);
	// Paints the background before redrawWidget: the background colour, if any.
	virtual void eraseBackground(gPainter *target, const eRect &area);
	virtual void gotFocus() {}
	virtual void lostFocus() {}
	// Called when show() or hide() changed the widget's own visibility.
	virtual void willShow() {}
	virtual void willHide() {}
	// The client area inside the frame; a window keeps room for its border and title.
	virtual eRect clientRectFor(const eSize &frame) const { return eRect(ePoint(0, 0), frame); }
	// Text alignment flags for gPainter from the "align" and "vcenter" properties.
	int textFlags() const;

private:
	struct DesktopTag
	{
	};
	explicit eWidget(DesktopTag);

	void addChild(eWidget *child) { m_children.push_back(child); }
	eWidget *focusRoot() { return getTLW(); }
	void addToFocusChain(eWidget *w);
	void removeFromFocusChain(eWidget *w);
	void emitStatus();

	eWidget *m_parent;
	std::list<eWidget *> m_children;
	ePoint m_position;
	eSize m_size;
	bool m_visible = false;
	bool m_dirty = true;
	int m_takeFocus;
	eString m_name, m_text, m_helpText, m_deco;
	std::map<eString, eString> m_properties;
	gPixmap *m_pixmap = nullptr;
	ePoint m_pixmapPosition;
	int m_blitFlags = 0;
	gColor m_backgroundColor{0, 0, 0, 0};
	gColor m_foregroundColor{255, 255, 255};
	bool m_hasBackground = false;
	gFont m_font;
	std::vector<eActionMap *> m_actionMaps;
	// Kept on the top-level widget only.
	std::vector<eWidget *> m_focusChain;
	eWidget *m_focus = nullptr;
	eMainloop::LoopId m_loopId = 0;
	bool m_closePending = false;
	int m_pendingCode = 0;
	bool m_deleting = false;
	std::shared_ptr<char> m_life = std::make_shared<char>(0);
};

#endif
