#ifndef HOST_ELISTBOX_H
#define HOST_ELISTBOX_H

#include <type_traits>
#include <utility>
#include <vector>

#include "host/ewidget.h"

class eListBoxBase;
class eTextPara;

// One row of a list box. The list owns its entries and deletes them when it is
// cleared or dies; an entry deleted on its own leaves its list first.
class eListBoxEntry : public virtual sigc::trackable
{
public:
	// Appends the entry to listbox when it is given.
	explicit eListBoxEntry(eListBoxBase *listbox, const eString &helptext = eString(), int selectable = 1);
	virtual ~eListBoxEntry();
	eListBoxEntry(const eListBoxEntry &) = delete;
	eListBoxEntry &operator=(const eListBoxEntry &) = delete;

	// The order of eListBoxBase::sort.
	virtual bool operator<(const eListBoxEntry &other) const { return false; }
	// Offered the key first while the entry is highlighted; nonzero when used.
	virtual int eventHandler(const eWidgetEvent &event) { return 0; }
	// Draws the entry in rect (the list's client coordinates) and returns its text.
	// highlited is 1 for the highlighted entry of a focused list.
	virtual const eString &redraw(gPainter *rc, const eRect &rect, gColor coActiveB, gColor coActiveF,
		gColor coNormalB, gColor coNormalF, int highlited) = 0;
	// The text the snapshot shows (empty for an entry without text).
	virtual const eString &getText() const;

	const eString &getHelpText() const { return helptext; }
	void setHelpText(const eString &text) { helptext = text; }
	bool isSelectable() const { return selectable != 0; }
	eListBoxBase *getListBox() const { return listbox; }

	// Fills the row with the highlighted or the normal background and leaves the
	// matching colours set in the painter for the text.
	void drawEntryRect(gPainter *rc, const eRect &rect, const gColor &coActiveB, const gColor &coActiveF,
		const gColor &coNormalB, const gColor &coNormalF, int highlited);

protected:
	eListBoxBase *listbox;
	eString helptext;
	int selectable;

	friend class eListBoxBase;
};

// An entry that shows a line of text. align is 0 left, 1 right, 2 centred.
class eListBoxEntryText : public eListBoxEntry
{
public:
	explicit eListBoxEntryText(eListBoxBase *listbox, const eString &text = eString(), void *key = nullptr,
		int align = 0, const eString &helptext = eString(), int keytype = 0);
	~eListBoxEntryText() override;

	bool operator<(const eListBoxEntry &other) const override;
	const eString &redraw(gPainter *rc, const eRect &rect, gColor coActiveB, gColor coActiveF, gColor coNormalB,
		gColor coNormalF, int highlited) override;
	const eString &getText() const override { return text; }
	void setText(const eString &t);
	void *getKey() const { return key; }
	int getKeyType() const { return keytype; }

	// The row height of text entries: the entry font's size plus 10, so 30 pixels
	// with the default 20-pixel font.
	static int getEntryHeight();
	static const gFont &getEntryFont();
	static void setEntryFont(const gFont &font);

protected:
	eString text;
	void *key;
	int align;
	int keytype;
	// A paragraph subclasses may lay their text out in once; released by this
	// class's destructor when still set.
	eTextPara *para = nullptr;
	int yOffs = 0;
};

// The list box without its entry type: a column of rows, one of them highlighted.
// Up and down move the highlight by one, left and right (the list map's page
// keys) by a page, all clamped to the first and last entry; OK chooses the
// highlighted entry. The first entry appended to an empty list is highlighted.
class eListBoxBase : public eWidget
{
public:
	enum
	{
		dirUp,
		dirDown,
		dirPageUp,
		dirPageDown,
		dirFirst,
		dirLast,
	};

	// itemHeight 0 means the height of text entries.
	eListBoxBase(eWidget *parent, const eWidget *descr = nullptr, int takeFocus = 1, int itemHeight = 0,
		const char *deco = "eListBox");
	~eListBoxBase() override;
	const char *className() const override { return "eListBox"; }

	// Appends the entry (nothing when it is already in this list). Inside an
	// atomic update, or when update is false, the list is not repainted yet.
	void append(eListBoxEntry *entry, bool holdCurrent = false, bool update = true);
	// Takes the entry out without deleting it.
	void remove(eListBoxEntry *entry, bool holdCurrent = false);
	// Deletes every entry.
	void clearList();
	void clear() { clearList(); }
	// Changes between these two are painted once, at endAtomic.
	void beginAtomic();
	void endAtomic();
	// Orders the entries by their operator<; the highlight stays on its entry.
	void sort();

	int getCount() const { return int(m_entries.size()); }
	const std::vector<eListBoxEntry *> &getEntries() const { return m_entries; }
	eListBoxEntry *getEntryAt(int index) const;
	int indexOf(const eListBoxEntry *entry) const;
	eListBoxEntry *getCurrentEntry() const { return m_current; }
	// -1 when nothing is highlighted.
	int getCurrentIndex() const { return indexOf(m_current); }
	// Highlights the entry; fires selchanged only when asked. -1 when it is not in the list.
	int setCurrentEntry(const eListBoxEntry *entry, bool sendSelChanged = false);
	int setCurrentIndex(int index, bool sendSelChanged = false);
	// Moves the highlight (dirUp ...); returns 1 when it moved.
	int moveSelection(int dir, bool sendSelChanged = true);

	int getItemHeight() const { return m_itemHeight; }
	void setItemHeight(int height);
	// The index of the first row shown, and how many rows fit.
	int getTop() const { return m_top; }
	int visibleRows() const;
	const eWidget *getDescription() const { return m_descr; }

	void setActiveColor(const gColor &background, const gColor &foreground);
	void setNormalColor(const gColor &background, const gColor &foreground);

	int eventHandler(const eWidgetEvent &event) override;
	void describe(eString &out) const override;
	void describeLines(std::vector<eString> &lines) const override;

protected:
	virtual void emitSelected(eListBoxEntry *entry) = 0;
	virtual void emitSelChanged(eListBoxEntry *entry) = 0;
	void redrawWidget(gPainter *target, const eRect &area) override;

private:
	void changed();
	void currentChanged(bool sendSelChanged);
	void scrollToCurrent();

	std::vector<eListBoxEntry *> m_entries;
	eListBoxEntry *m_current = nullptr;
	const eWidget *m_descr;
	int m_itemHeight;
	int m_top = 0;
	int m_atomic = 0;
	bool m_clearing = false;
	gColor m_activeB{0x30, 0x50, 0xa0}, m_activeF{255, 255, 255};
	gColor m_normalB{0x18, 0x20, 0x38}, m_normalF{0xe0, 0xe0, 0xe0};
};

// A list box of entries of type T. selected fires when OK chooses the highlighted
// entry (null in an empty list); selchanged fires when a key moves the highlight.
template <class T>
class eListBox : public eListBoxBase
{
public:
	explicit eListBox(eWidget *parent, const eWidget *descr = nullptr, int takeFocus = 1, int itemHeight = 0,
		const char *deco = "eListBox")
		: eListBoxBase(parent, descr, takeFocus, itemHeight, deco)
	{
	}

	sigc::signal<void(T *)> selected;
	sigc::signal<void(T *)> selchanged;

	T *getCurrent() const { return static_cast<T *>(getCurrentEntry()); }
	T *getEntry(int index) const { return static_cast<T *>(getEntryAt(index)); }
	int setCurrent(const T *entry, bool sendSelChanged = false) { return setCurrentEntry(entry, sendSelChanged); }
	int setCurrent(int index, bool sendSelChanged = false) { return setCurrentIndex(index, sendSelChanged); }

	// Calls f(T&) for each entry in order. When f returns a value, a nonzero one
	// stops the walk; the result is 1 then, else 0.
	template <class F>
	int forEachEntry(F f)
	{
		std::vector<eListBoxEntry *> entries = getEntries();
		for (eListBoxEntry *e : entries)
		{
			T &t = *static_cast<T *>(e);
			if constexpr (std::is_void_v<decltype(f(t))>)
				f(t);
			else if (f(t))
				return 1;
		}
		return 0;
	}

protected:
	void emitSelected(eListBoxEntry *entry) override { selected(static_cast<T *>(entry)); }
	void emitSelChanged(eListBoxEntry *entry) override { selchanged(static_cast<T *>(entry)); }
};

#endif
