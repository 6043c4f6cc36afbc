#include "host/elistbox.h"

#include <algorithm>

#include "host/gpainter.h"
#include "host/widgetdump.h"

namespace
{
gFont &entryFont()
{
	static gFont font;
	return font;
}
} // namespace

eListBoxEntry::eListBoxEntry(eListBoxBase *lb, const eString &help, int sel)
	: listbox(nullptr), helptext(help), selectable(sel)
{
	if (lb)
		lb->append(this);
}

eListBoxEntry::~eListBoxEntry()
{
	if (listbox)
		listbox->remove(this);
}

const eString &eListBoxEntry::getText() const
{
	static const eString none;
	return none;
}

void eListBoxEntry::drawEntryRect(gPainter *rc, const eRect &rect, const gColor &coActiveB, const gColor &coActiveF,
	const gColor &coNormalB, const gColor &coNormalF, int highlited)
{
	const gColor &background = highlited ? coActiveB : coNormalB;
	const gColor &foreground = highlited ? coActiveF : coNormalF;
	rc->setBackgroundColor(background);
	rc->setForegroundColor(foreground);
	rc->fill(rect, background);
}

eListBoxEntryText::eListBoxEntryText(eListBoxBase *lb, const eString &t, void *k, int a, const eString &help, int kt)
	: eListBoxEntry(lb, help), text(t), key(k), align(a), keytype(kt)
{
}

eListBoxEntryText::~eListBoxEntryText()
{
	if (para)
		para->destroy();
}

bool eListBoxEntryText::operator<(const eListBoxEntry &other) const
{
	return text < other.getText();
}

void eListBoxEntryText::setText(const eString &t)
{
	text = t;
	if (listbox)
		listbox->invalidate();
}

const eString &eListBoxEntryText::redraw(gPainter *rc, const eRect &rect, gColor coActiveB, gColor coActiveF,
	gColor coNormalB, gColor coNormalF, int highlited)
{
	drawEntryRect(rc, rect, coActiveB, coActiveF, coNormalB, coNormalF, highlited);
	int flags = gPainter::RT_VALIGN_CENTER;
	if (align == 1)
		flags |= gPainter::RT_HALIGN_RIGHT;
	else if (align == 2)
		flags |= gPainter::RT_HALIGN_CENTER;
	rc->setFont(entryFont());
	rc->renderText(eRect(rect.x + 5, rect.y, rect.w - 10, rect.h), text, flags);
	return text;
}

int eListBoxEntryText::getEntryHeight()
{
	return entryFont().pointSize + 10;
}

const gFont &eListBoxEntryText::getEntryFont()
{
	return entryFont();
}

void eListBoxEntryText::setEntryFont(const gFont &font)
{
	entryFont() = font;
}

eListBoxBase::eListBoxBase(eWidget *parent, const eWidget *descr, int takeFocus, int itemHeight, const char *deco)
	: eWidget(parent, takeFocus), m_descr(descr),
	  m_itemHeight(itemHeight > 0 ? itemHeight : eListBoxEntryText::getEntryHeight())
{
	loadDeco(deco ? deco : "");
	addActionMap(&i_cursorActions->map);
	addActionMap(&i_listActions->map);
}

eListBoxBase::~eListBoxBase()
{
	m_atomic = 1;
	clearList();
}

void eListBoxBase::changed()
{
	if (!m_atomic)
		invalidate();
}

void eListBoxBase::append(eListBoxEntry *entry, bool holdCurrent, bool update)
{
	if (!entry || entry->listbox == this)
		return;
	if (entry->listbox)
		entry->listbox->remove(entry);
	entry->listbox = this;
	m_entries.push_back(entry);
	if (!m_current)
		m_current = entry;
	if (update)
		changed();
}

void eListBoxBase::remove(eListBoxEntry *entry, bool holdCurrent)
{
	auto it = std::find(m_entries.begin(), m_entries.end(), entry);
	if (it == m_entries.end())
		return;
	size_t index = size_t(it - m_entries.begin());
	m_entries.erase(it);
	entry->listbox = nullptr;
	if (m_current == entry)
	{
		// The highlight goes to the row that takes the removed one's place.
		m_current = m_entries.empty() ? nullptr : m_entries[std::min(index, m_entries.size() - 1)];
	}
	m_top = std::clamp(m_top, 0, std::max(0, getCount() - 1));
	if (!m_clearing)
		changed();
}

void eListBoxBase::clearList()
{
	m_clearing = true;
	std::vector<eListBoxEntry *> entries;
	entries.swap(m_entries);
	m_current = nullptr;
	m_top = 0;
	for (eListBoxEntry *e : entries)
	{
		e->listbox = nullptr;
		delete e;
	}
	m_clearing = false;
	changed();
}

void eListBoxBase::beginAtomic()
{
	++m_atomic;
}

void eListBoxBase::endAtomic()
{
	if (m_atomic > 0 && --m_atomic == 0)
	{
		scrollToCurrent();
		invalidate();
	}
}

void eListBoxBase::sort()
{
	std::stable_sort(m_entries.begin(), m_entries.end(),
		[](const eListBoxEntry *a, const eListBoxEntry *b) { return *a < *b; });
	scrollToCurrent();
	changed();
}

eListBoxEntry *eListBoxBase::getEntryAt(int index) const
{
	if (index < 0 || index >= getCount())
		return nullptr;
	return m_entries[size_t(index)];
}

int eListBoxBase::indexOf(const eListBoxEntry *entry) const
{
	auto it = std::find(m_entries.begin(), m_entries.end(), entry);
	return it == m_entries.end() ? -1 : int(it - m_entries.begin());
}

int eListBoxBase::setCurrentEntry(const eListBoxEntry *entry, bool sendSelChanged)
{
	int index = indexOf(entry);
	if (index < 0)
		return -1;
	return setCurrentIndex(index, sendSelChanged);
}

int eListBoxBase::setCurrentIndex(int index, bool sendSelChanged)
{
	eListBoxEntry *entry = getEntryAt(index);
	if (!entry)
		return -1;
	if (entry != m_current)
	{
		m_current = entry;
		currentChanged(sendSelChanged);
	}
	return 0;
}

void eListBoxBase::currentChanged(bool sendSelChanged)
{
	scrollToCurrent();
	changed();
	if (m_current && !m_current->getHelpText().empty())
		setHelpText(m_current->getHelpText());
	if (sendSelChanged)
		emitSelChanged(m_current);
}

int eListBoxBase::visibleRows() const
{
	return std::max(1, getClientRect().h / std::max(1, m_itemHeight));
}

void eListBoxBase::scrollToCurrent()
{
	int index = getCurrentIndex();
	if (index < 0)
	{
		m_top = 0;
		return;
	}
	int rows = visibleRows();
	if (index < m_top)
		m_top = index;
	else if (index >= m_top + rows)
		m_top = index - rows + 1;
	m_top = std::clamp(m_top, 0, std::max(0, getCount() - rows));
}

void eListBoxBase::setItemHeight(int height)
{
	m_itemHeight = std::max(1, height);
	scrollToCurrent();
	changed();
}

int eListBoxBase::moveSelection(int dir, bool sendSelChanged)
{
	if (m_entries.empty())
		return 0;
	int index = std::max(0, getCurrentIndex());
	int last = getCount() - 1;
	int rows = visibleRows();
	int target = index;
	switch (dir)
	{
	case dirUp:
		target = index - 1;
		break;
	case dirDown:
		target = index + 1;
		break;
	case dirPageUp:
		target = index - rows;
		break;
	case dirPageDown:
		target = index + rows;
		break;
	case dirFirst:
		target = 0;
		break;
	case dirLast:
		target = last;
		break;
	default:
		return 0;
	}
	target = std::clamp(target, 0, last);
	eListBoxEntry *entry = m_entries[size_t(target)];
	if (entry == m_current)
		return 0;
	m_current = entry;
	currentChanged(sendSelChanged);
	return 1;
}

void eListBoxBase::setActiveColor(const gColor &background, const gColor &foreground)
{
	m_activeB = background;
	m_activeF = foreground;
	changed();
}

void eListBoxBase::setNormalColor(const gColor &background, const gColor &foreground)
{
	m_normalB = background;
	m_normalF = foreground;
	changed();
}

int eListBoxBase::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eWidget::eventHandler(event);
	if (m_current)
	{
		std::weak_ptr<char> alive = lifeToken();
		if (m_current->eventHandler(event))
			return 1;
		if (alive.expired())
			return 1;
	}
	const eAction *a = event.action;
	if (a == &i_cursorActions->ok)
	{
		emitSelected(m_current);
		return 1;
	}
	int dir = -1;
	if (a == &i_cursorActions->up)
		dir = dirUp;
	else if (a == &i_cursorActions->down)
		dir = dirDown;
	else if (a == &i_listActions->pageup)
		dir = dirPageUp;
	else if (a == &i_listActions->pagedown)
		dir = dirPageDown;
	if (dir < 0 || m_entries.empty())
		return eWidget::eventHandler(event);
	moveSelection(dir, true);
	return 1;
}

void eListBoxBase::describe(eString &out) const
{
	out += eString::format(" entries=%d current=%d", getCount(), getCurrentIndex());
}

void eListBoxBase::describeLines(std::vector<eString> &lines) const
{
	int rows = visibleRows();
	for (int i = 0; i < getCount(); ++i)
	{
		const eListBoxEntry *e = m_entries[size_t(i)];
		bool shown = i >= m_top && i < m_top + rows;
		eString line = e == m_current ? "> " : "- ";
		line += eString::format("[%d] ", i) + WidgetDump::quote(e->getText());
		if (!shown)
			line += " (scrolled out)";
		lines.push_back(line);
	}
}

void eListBoxBase::redrawWidget(gPainter *target, const eRect &area)
{
	eRect client = getClientRect();
	target->fill(client, m_normalB);
	int rows = visibleRows();
	bool focused = hasFocus();
	// Entries draw in the client area's coordinates.
	target->moveLogicalZero(client.topLeft());
	for (int row = 0; row < rows; ++row)
	{
		eListBoxEntry *e = getEntryAt(m_top + row);
		if (!e)
			break;
		eRect rect(0, row * m_itemHeight, client.w, m_itemHeight);
		gColor activeB = m_activeB, activeF = m_activeF, normalB = m_normalB, normalF = m_normalF;
		e->redraw(target, rect, activeB, activeF, normalB, normalF, (e == m_current && focused) ? 1 : 0);
	}
	target->moveLogicalZero(ePoint(-client.x, -client.y));
}
