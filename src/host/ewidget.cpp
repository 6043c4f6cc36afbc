#include "host/ewidget.h"

#include <algorithm>
#include <cstdlib>

#include "host/gpainter.h"
#include "host/log.h"

namespace
{
// -- All of this belongs to the GUI thread.
struct Screen
{
	// Top-level widgets, back to front.
	std::list<eWidget *> topLevels;
	// The widgets of the modal runs in progress, innermost last.
	std::vector<eWidget *> modal;
	std::function<void(eWidget *)> repaint;
	std::function<bool(const eString &, gColor &)> colorLookup;
	std::function<bool(const eString &, gFont &)> fontLookup;
	eWidget *desktop = nullptr;
	// Nonzero while a paint pass runs: changes made while painting are part of
	// it and must not start another.
	int paintDepth = 0;
};

Screen &screen()
{
	// Never destroyed: widgets that die during the program's exit still reach it.
	static Screen *s = new Screen;
	return *s;
}

bool parsePair(const eString &text, int &a, int &b)
{
	size_t sep = text.find_first_of(":,");
	if (sep == eString::npos)
		return false;
	char *end = nullptr;
	a = int(std::strtol(text.c_str(), &end, 10));
	if (end != text.c_str() + sep)
		return false;
	const char *second = text.c_str() + sep + 1;
	b = int(std::strtol(second, &end, 10));
	return end != second && *end == 0;
}
} // namespace

eWidget::eWidget(eWidget *parent, int takeFocus) : m_parent(parent), m_takeFocus(takeFocus)
{
	if (m_parent)
		m_parent->addChild(this);
	// A child appears with its parent; a top-level widget waits for show().
	m_visible = !isTopLevel();
	if (isTopLevel())
		screen().topLevels.push_back(this);
	if (m_takeFocus)
		getTLW()->addToFocusChain(this);
}

eWidget::eWidget(DesktopTag) : m_parent(nullptr), m_size(kScreenWidth, kScreenHeight), m_visible(true), m_takeFocus(0)
{
}

eWidget::~eWidget()
{
	m_deleting = true;
	if (m_loopId)
	{
		// A window that dies inside its own run ends that run.
		if (eApp)
			eApp->exitLoop(m_loopId, -1);
		auto &stack = screen().modal;
		stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
	}
	bool wasShown = isVisibleOnScreen();
	while (!m_children.empty())
	{
		eWidget *child = m_children.front();
		m_children.pop_front();
		delete child;
	}
	if (m_takeFocus)
		getTLW()->removeFromFocusChain(this);
	if (isTopLevel())
		screen().topLevels.remove(this);
	if (m_parent && !m_parent->m_deleting)
	{
		m_parent->m_children.remove(this);
		if (wasShown)
			m_parent->invalidate();
	}
	else if (wasShown && !m_parent && screen().repaint)
		screen().repaint(nullptr);
}

void eWidget::move(const ePoint &pos)
{
	if (pos == m_position)
		return;
	// The old place must be repainted too.
	if (m_parent && isVisibleOnScreen())
		m_parent->invalidate();
	m_position = pos;
	invalidate();
}

void eWidget::resize(const eSize &size)
{
	if (size == m_size)
		return;
	if (m_parent && isVisibleOnScreen())
		m_parent->invalidate();
	m_size = eSize(std::max(0, size.w), std::max(0, size.h));
	invalidate();
}

eRect eWidget::getClientRect() const
{
	return clientRectFor(m_size);
}

eRect eWidget::getAbsoluteRect() const
{
	ePoint origin = m_parent ? m_parent->getAbsoluteClientRect().topLeft() : ePoint(0, 0);
	return eRect(origin + m_position, m_size);
}

eRect eWidget::getAbsoluteClientRect() const
{
	eRect client = getClientRect();
	return eRect(getAbsoluteRect().topLeft() + client.topLeft(), client.size());
}

eWidget *eWidget::getTLW()
{
	eWidget *w = this;
	while (!w->isTopLevel() && w->m_parent)
		w = w->m_parent;
	return w;
}

const eWidget *eWidget::getTLW() const
{
	const eWidget *w = this;
	while (!w->isTopLevel() && w->m_parent)
		w = w->m_parent;
	return w;
}

bool eWidget::isTopLevel() const
{
	return this != screen().desktop && (!m_parent || m_parent == screen().desktop);
}

eWidget *eWidget::search(const eString &name)
{
	if (m_name == name)
		return this;
	for (eWidget *child : m_children)
		if (eWidget *found = child->search(name))
			return found;
	return nullptr;
}

void eWidget::show()
{
	if (isTopLevel())
	{
		// A window that appears comes to the front.
		screen().topLevels.remove(this);
		screen().topLevels.push_back(this);
	}
	if (m_visible)
		return;
	m_visible = true;
	willShow();
	invalidate();
}

void eWidget::hide()
{
	if (!m_visible)
		return;
	bool wasShown = isVisibleOnScreen();
	m_visible = false;
	willHide();
	if (!wasShown)
		return;
	if (m_parent && !isTopLevel())
		m_parent->invalidate();
	else if (screen().repaint)
		screen().repaint(this);
}

bool eWidget::isVisibleOnScreen() const
{
	for (const eWidget *w = this; w; w = w->m_parent)
		if (!w->m_visible)
			return false;
	return true;
}

void eWidget::zOrderRaise()
{
	auto &list = isTopLevel() ? screen().topLevels : m_parent->m_children;
	list.remove(this);
	list.push_back(this);
	invalidate();
}

void eWidget::zOrderLower()
{
	auto &list = isTopLevel() ? screen().topLevels : m_parent->m_children;
	list.remove(this);
	list.push_front(this);
	if (m_parent && isVisibleOnScreen())
		m_parent->invalidate();
	else
		invalidate();
}

void eWidget::setText(const eString &text)
{
	if (text == m_text)
		return;
	m_text = text;
	invalidate();
}

void eWidget::setHelpText(const eString &text)
{
	m_helpText = text;
	if (hasFocus())
		emitStatus();
}

bool eWidget::parseColor(const eString &text, gColor &out)
{
	if ((text.size() != 7 && text.size() != 9) || text[0] != '#' ||
		text.find_first_not_of("0123456789abcdefABCDEF", 1) != eString::npos)
		return false;
	unsigned long v = std::strtoul(text.c_str() + 1, nullptr, 16);
	if (text.size() == 7)
		v |= 0xff000000ul;
	out = gColor(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), uint8_t(v >> 24));
	return true;
}

bool eWidget::parseFont(const eString &text, gFont &out)
{
	size_t sep = text.rfind(':');
	if (sep == eString::npos || sep == 0 || sep + 1 >= text.size())
		return false;
	char *end = nullptr;
	long size = std::strtol(text.c_str() + sep + 1, &end, 10);
	if (*end || size <= 0 || size > 200)
		return false;
	out = gFont(text.left(sep), int(size));
	return true;
}

bool eWidget::lookupColor(const eString &text, gColor &out)
{
	return parseColor(text, out) || (screen().colorLookup && screen().colorLookup(text, out));
}

bool eWidget::lookupFont(const eString &text, gFont &out)
{
	return parseFont(text, out) || (screen().fontLookup && screen().fontLookup(text, out));
}

void eWidget::setColorLookup(std::function<bool(const eString &, gColor &)> lookup)
{
	screen().colorLookup = std::move(lookup);
}

void eWidget::setFontLookup(std::function<bool(const eString &, gFont &)> lookup)
{
	screen().fontLookup = std::move(lookup);
}

int eWidget::setProperty(const eString &prop, const eString &value)
{
	m_properties[prop] = value;
	if (prop == "align" || prop == "vcenter")
		invalidate();
	else if (prop == "backgroundColor" || prop == "foregroundColor")
	{
		gColor c;
		if (!lookupColor(value, c))
			eWarning("[host] %s: unknown colour %s", prop.c_str(), value.c_str());
		else if (prop == "backgroundColor")
			setBackgroundColor(c);
		else
			setForegroundColor(c);
	}
	else if (prop == "font")
	{
		gFont f;
		if (lookupFont(value, f))
			setFont(f);
		else
			eWarning("[host] unknown font %s", value.c_str());
	}
	else if (prop == "text")
		setText(value);
	else if (prop == "helptext")
		setHelpText(value);
	else if (prop == "name")
		setName(value);
	else if (prop == "position" || prop == "size")
	{
		int a = 0, b = 0;
		if (!parsePair(value, a, b))
			return -1;
		if (prop == "position")
			move(ePoint(a, b));
		else
			resize(eSize(a, b));
	}
	else
		return -1;
	return 0;
}

eString eWidget::getProperty(const eString &prop) const
{
	auto it = m_properties.find(prop);
	return it == m_properties.end() ? eString() : it->second;
}

int eWidget::textFlags() const
{
	int flags = gPainter::RT_HALIGN_LEFT;
	eString align = getProperty("align");
	if (align == "center")
		flags = gPainter::RT_HALIGN_CENTER;
	else if (align == "right")
		flags = gPainter::RT_HALIGN_RIGHT;
	if (hasProperty("vcenter"))
		flags |= gPainter::RT_VALIGN_CENTER;
	return flags;
}

void eWidget::setPixmap(gPixmap *pixmap)
{
	m_pixmap = pixmap;
	invalidate();
}

void eWidget::setPixmapPosition(const ePoint &pos)
{
	m_pixmapPosition = pos;
	invalidate();
}

void eWidget::setBlitFlags(int flags)
{
	m_blitFlags = flags;
	invalidate();
}

void eWidget::loadDeco(const eString &deco)
{
	if (!deco.empty())
		m_deco = deco;
	invalidate();
}

void eWidget::setBackgroundColor(const gColor &c)
{
	m_backgroundColor = c;
	m_hasBackground = true;
	invalidate();
}

void eWidget::setForegroundColor(const gColor &c)
{
	m_foregroundColor = c;
	invalidate();
}

void eWidget::setFont(const gFont &f)
{
	m_font = f;
	invalidate();
}

void eWidget::addToFocusChain(eWidget *w)
{
	m_focusChain.push_back(w);
	// The first focusable widget starts focused. Its gotFocus is not called: the
	// widget is still being constructed.
	if (!m_focus)
		m_focus = w;
}

void eWidget::removeFromFocusChain(eWidget *w)
{
	auto it = std::find(m_focusChain.begin(), m_focusChain.end(), w);
	if (it == m_focusChain.end())
		return;
	size_t index = size_t(it - m_focusChain.begin());
	m_focusChain.erase(it);
	if (m_focus != w)
		return;
	m_focus = nullptr;
	if (m_deleting)
		return;
	if (!m_focusChain.empty())
		m_focus = m_focusChain[index < m_focusChain.size() ? index : 0];
	if (m_focus)
		m_focus->gotFocus();
	emitStatus();
}

void eWidget::setFocus(eWidget *w)
{
	eWidget *root = focusRoot();
	if (w && std::find(root->m_focusChain.begin(), root->m_focusChain.end(), w) == root->m_focusChain.end())
		return;
	eWidget *old = root->m_focus;
	if (old == w)
		return;
	root->m_focus = w;
	if (old)
	{
		old->lostFocus();
		old->invalidate();
	}
	if (w)
	{
		w->gotFocus();
		w->invalidate();
	}
	root->emitStatus();
}

eWidget *eWidget::getFocus() const
{
	return getTLW()->m_focus;
}

bool eWidget::hasFocus() const
{
	return getFocus() == this;
}

void eWidget::focusNext(int direction)
{
	eWidget *root = focusRoot();
	auto &chain = root->m_focusChain;
	if (chain.empty())
		return;
	auto it = std::find(chain.begin(), chain.end(), root->m_focus);
	int n = int(chain.size());
	int index = it == chain.end() ? (direction >= 0 ? -1 : 0) : int(it - chain.begin());
	// Hidden widgets are passed over; with none shown the focus stays.
	for (int step = 0; step < n; ++step)
	{
		index = ((index + (direction >= 0 ? 1 : -1)) % n + n) % n;
		if (chain[size_t(index)]->isVisibleOnScreen())
		{
			setFocus(chain[size_t(index)]);
			return;
		}
	}
}

void eWidget::emitStatus()
{
	eWidget *root = focusRoot();
	if (!root->m_deleting)
		root->statusChanged(root->m_focus);
}

void eWidget::addActionMap(eActionMap *map)
{
	if (map && std::find(m_actionMaps.begin(), m_actionMaps.end(), map) == m_actionMaps.end())
		m_actionMaps.push_back(map);
}

void eWidget::removeActionMap(eActionMap *map)
{
	m_actionMaps.erase(std::remove(m_actionMaps.begin(), m_actionMaps.end(), map), m_actionMaps.end());
}

int eWidget::eventHandler(const eWidgetEvent &event)
{
	return 0;
}

int eWidget::exec()
{
	if (!eApp)
	{
		eWarning("[host] exec without a main loop");
		return -1;
	}
	show();
	if (m_closePending)
	{
		m_closePending = false;
		return m_pendingCode;
	}
	if (m_loopId)
	{
		eWarning("[host] exec of a widget that already runs");
		return -1;
	}
	eMainloop *loop = eApp;
	std::weak_ptr<char> alive = m_life;
	eMainloop::LoopId id = loop->nextLoopId();
	m_loopId = id;
	screen().modal.push_back(this);
	int code = loop->exec(id);
	if (alive.expired())
		return code;
	auto &stack = screen().modal;
	stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
	m_loopId = 0;
	return code;
}

void eWidget::close(int code)
{
	if (m_loopId)
	{
		if (eApp)
			eApp->exitLoop(m_loopId, code);
		return;
	}
	m_closePending = true;
	m_pendingCode = code;
}

void eWidget::eraseBackground(gPainter *target, const eRect &area)
{
	if (m_hasBackground)
		target->fill(area, m_backgroundColor);
}

void eWidget::redrawWidget(gPainter *target, const eRect &area)
{
	if (m_pixmap)
		target->blit(*m_pixmap, getClientRect().topLeft() + m_pixmapPosition, eRect(), m_blitFlags);
}

void eWidget::redraw(gPainter &painter)
{
	if (!m_visible)
		return;
	++screen().paintDepth;
	m_dirty = false;
	eRect frame = getAbsoluteRect();
	ePoint savedZero = painter.getLogicalZero();
	painter.resetLogicalZero();
	painter.clip(frame);
	painter.setLogicalZero(frame.topLeft());
	eRect local(ePoint(0, 0), m_size);
	painter.setFont(m_font);
	painter.setForegroundColor(m_foregroundColor);
	painter.setBackgroundColor(m_backgroundColor);
	eraseBackground(&painter, local);
	redrawWidget(&painter, local);
	if (!m_children.empty())
	{
		painter.resetLogicalZero();
		painter.clip(getAbsoluteClientRect());
		// Copy: a paint must not be disturbed by a child list that changes under it.
		std::list<eWidget *> children = m_children;
		for (eWidget *child : children)
			child->redraw(painter);
		painter.clippop();
	}
	painter.clippop();
	painter.setLogicalZero(savedZero);
	--screen().paintDepth;
}

void eWidget::invalidate()
{
	m_dirty = true;
	if (screen().repaint && !screen().paintDepth && isVisibleOnScreen())
		screen().repaint(this);
}

void eWidget::setRepaintHook(std::function<void(eWidget *)> hook)
{
	screen().repaint = std::move(hook);
}

eWidget *eWidget::desktop()
{
	// Never deleted, like the screen: widgets may still name it as their parent at exit.
	if (!screen().desktop)
		screen().desktop = new eWidget(DesktopTag());
	return screen().desktop;
}

const std::list<eWidget *> &eWidget::topLevelWidgets()
{
	return screen().topLevels;
}

void eWidget::redrawScreen(gPainter &painter)
{
	std::list<eWidget *> list = screen().topLevels;
	for (eWidget *w : list)
		if (w->isVisibleOnScreen())
			w->redraw(painter);
	painter.flush();
}

eWidget *eWidget::keyTarget()
{
	if (!screen().modal.empty())
		return screen().modal.back();
	auto &list = screen().topLevels;
	for (auto it = list.rbegin(); it != list.rend(); ++it)
	{
		eWidget *w = *it;
		if (w->isVisibleOnScreen() && (!w->m_actionMaps.empty() || !w->m_focusChain.empty()))
			return w;
	}
	return nullptr;
}
