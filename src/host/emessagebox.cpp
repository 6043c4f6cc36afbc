#include "host/emessagebox.h"

#include <algorithm>

#include "host/elabel.h"
#include "host/gpainter.h"
#include "host/log.h"

namespace
{
constexpr int margin = 10;
constexpr int iconSize = 40;
constexpr int buttonWidth = 100;
constexpr int buttonHeight = 36;
constexpr int minWidth = 240;
constexpr int maxWidth = 640;

const gColor buttonNormal(0x30, 0x30, 0x40);
const gColor buttonFocused(0x30, 0x60, 0xb0);

struct ButtonKind
{
	int bit;
	const char *text;
	const char *name;
};
const ButtonKind buttonKinds[] = {
	{eMessageBox::btOK, "OK", "button_ok"},
	{eMessageBox::btCancel, "Cancel", "button_cancel"},
	{eMessageBox::btYes, "Yes", "button_yes"},
	{eMessageBox::btNo, "No", "button_no"},
};

const char *iconName(int flags)
{
	if (flags & eMessageBox::iconError)
		return "error";
	if (flags & eMessageBox::iconWarning)
		return "warning";
	if (flags & eMessageBox::iconQuestion)
		return "question";
	if (flags & eMessageBox::iconInfo)
		return "info";
	return nullptr;
}
} // namespace

eMessageBox::eMessageBox(const eString &message, const eString &caption, int flags, int def, int timeout)
	: m_message(message), m_flags(flags), m_def(def), m_timeout(std::max(0, timeout))
{
	setText(caption);
	setName("messagebox");
	if (const char *icon = iconName(flags))
	{
		m_icon = new eLabel(this);
		m_icon->setName("icon");
		m_icon->setText(flags & iconError ? "!" : flags & iconWarning ? "!" : flags & iconQuestion ? "?" : "i");
		m_icon->setProperty("align", "center");
		m_icon->setProperty("vcenter", "");
		m_icon->setBackgroundColor(flags & (iconError | iconWarning) ? gColor(0xc0, 0x30, 0x30) : gColor(0x30, 0x70, 0xc0));
		m_icon->setProperty("icon", icon);
		m_icon->show();
	}
	m_text = new eLabel(this);
	m_text->setName("text");
	m_text->setText(message);
	m_text->show();
	for (const ButtonKind &kind : buttonKinds)
	{
		if (!(flags & kind.bit))
			continue;
		eLabel *b = new eLabel(this, 0, 1);
		b->setName(kind.name);
		b->setText(kind.text);
		b->setProperty("align", "center");
		b->setProperty("vcenter", "");
		b->show();
		m_buttons.push_back({b, kind.bit});
	}
	for (const Button &b : m_buttons)
		if (b.value == def)
			setFocus(b.label);
	statusChanged.connect(sigc::mem_fun(*this, &eMessageBox::focusMoved));
	focusMoved(getFocus());
	layout();
	if (m_timeout > 0)
	{
		if (eApp)
		{
			m_timer = std::make_unique<eTimer>(eApp);
			m_timer->timeout.connect(sigc::mem_fun(*this, &eMessageBox::timedOut));
		}
		else
			eWarning("[host] message box timeout without a main loop");
	}
}

eMessageBox::~eMessageBox() = default;

void eMessageBox::layout()
{
	const TextMeasurer &measurer = TextMeasurer::active();
	int textX = m_icon ? margin + iconSize + margin : margin;
	int available = maxWidth - textX - margin;
	int widest = 0, lines = 0, lineHeight = 0;
	size_t start = 0;
	do
	{
		size_t end = m_message.find('\n', start);
		eString line = m_message.substr(start, end == eString::npos ? eString::npos : end - start);
		eSize s = measurer.measure(line.empty() ? eString(" ") : line, m_text->getFont());
		lineHeight = std::max(lineHeight, s.h);
		widest = std::max(widest, std::min(s.w, available));
		// A line wider than the box wraps onto further lines.
		lines += std::max(1, (s.w + available - 1) / std::max(1, available));
		start = end == eString::npos ? eString::npos : end + 1;
	} while (start != eString::npos);
	int textH = std::max(lines * lineHeight, m_icon ? iconSize : 0);
	int buttonsW = int(m_buttons.size()) * (buttonWidth + margin) + margin;
	int width = std::clamp(std::max(textX + widest + margin, buttonsW), minWidth, maxWidth);
	int height = margin + textH + margin + (m_buttons.empty() ? 0 : buttonHeight + margin);
	if (m_icon)
	{
		m_icon->move(ePoint(margin, margin));
		m_icon->resize(eSize(iconSize, iconSize));
	}
	m_text->move(ePoint(textX, margin));
	m_text->resize(eSize(width - textX - margin, textH));
	int x = (width - int(m_buttons.size()) * (buttonWidth + margin) + margin) / 2;
	for (const Button &b : m_buttons)
	{
		b.label->move(ePoint(x, margin + textH + margin));
		b.label->resize(eSize(buttonWidth, buttonHeight));
		x += buttonWidth + margin;
	}
	cresize(eSize(width, height));
	cmove(ePoint((kScreenWidth - width) / 2, (kScreenHeight - height + titleBarHeight) / 2));
}

void eMessageBox::focusMoved(eWidget *focus)
{
	for (const Button &b : m_buttons)
		b.label->setBackgroundColor(b.label == focus ? buttonFocused : buttonNormal);
}

int eMessageBox::focusedValue() const
{
	eWidget *focus = getFocus();
	for (const Button &b : m_buttons)
		if (b.label == focus)
			return b.value;
	return m_def;
}

void eMessageBox::willShow()
{
	if (m_timer)
		m_timer->start(long(m_timeout) * 1000, true);
}

void eMessageBox::willHide()
{
	if (m_timer)
		m_timer->stop();
}

void eMessageBox::timedOut()
{
	if (isModal())
		close(m_def);
	else
		hide();
}

int eMessageBox::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eWindow::eventHandler(event);
	if (event.action == &i_cursorActions->ok)
	{
		if (isModal())
			close(focusedValue());
		else
			hide();
		return 1;
	}
	if ((event.action == &i_cursorActions->left || event.action == &i_cursorActions->right) && m_buttons.size() > 1)
	{
		focusNext(event.action == &i_cursorActions->right ? 1 : -1);
		return 1;
	}
	return eWindow::eventHandler(event);
}

void eMessageBox::describe(eString &out) const
{
	out += eString::format(" flags=%d", m_flags);
	if (const char *icon = iconName(m_flags))
		out += eString::format(" icon=%s", icon);
	if (m_timeout)
		out += eString::format(" timeout=%d", m_timeout);
}
