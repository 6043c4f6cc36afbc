#include "host/actions.h"

#include <cstring>

#include "host/ewidget.h"
#include "host/log.h"

namespace
{
struct KeyName
{
	RcKey key;
	const char *name;
};

const KeyName keyNames[] = {
	{RcKey::ok, "ok"}, {RcKey::exit, "exit"}, {RcKey::help, "help"},
	{RcKey::up, "up"}, {RcKey::down, "down"}, {RcKey::left, "left"}, {RcKey::right, "right"},
	{RcKey::red, "red"}, {RcKey::green, "green"}, {RcKey::yellow, "yellow"}, {RcKey::blue, "blue"},
	{RcKey::digit0, "0"}, {RcKey::digit1, "1"}, {RcKey::digit2, "2"}, {RcKey::digit3, "3"},
	{RcKey::digit4, "4"}, {RcKey::digit5, "5"}, {RcKey::digit6, "6"}, {RcKey::digit7, "7"},
	{RcKey::digit8, "8"}, {RcKey::digit9, "9"},
	{RcKey::volumeUp, "volup"}, {RcKey::volumeDown, "voldown"}, {RcKey::mute, "mute"},
};

// Other spellings a key script may use.
const KeyName keyAliases[] = {
	{RcKey::exit, "cancel"}, {RcKey::exit, "back"}, {RcKey::volumeUp, "volumeup"},
	{RcKey::volumeDown, "volumedown"}, {RcKey::volumeUp, "vol+"}, {RcKey::volumeDown, "vol-"},
};

cursorActions g_cursorActions;
shortcutActions g_shortcutActions;
listActions g_listActions;

std::function<void(RcKey)> &volumeHandler()
{
	static std::function<void(RcKey)> handler;
	return handler;
}

bool isVolumeKey(RcKey key)
{
	return key == RcKey::volumeUp || key == RcKey::volumeDown || key == RcKey::mute;
}
} // namespace

cursorActions *const i_cursorActions = &g_cursorActions;
shortcutActions *const i_shortcutActions = &g_shortcutActions;
listActions *const i_listActions = &g_listActions;

const char *rcKeyName(RcKey key)
{
	for (const KeyName &k : keyNames)
		if (k.key == key)
			return k.name;
	return "?";
}

bool parseRcKey(const eString &name, RcKey &key)
{
	eString lower = name.lower();
	for (const KeyName &k : keyNames)
		if (lower == k.name)
		{
			key = k.key;
			return true;
		}
	for (const KeyName &k : keyAliases)
		if (lower == k.name)
		{
			key = k.key;
			return true;
		}
	return false;
}

eAction::eAction(eActionMap &map, const char *identifier, const char *description)
	: m_map(&map), m_identifier(identifier), m_description(description)
{
	map.add(this);
}

eActionMap::eActionMap(const char *identifier, const char *description)
	: m_identifier(identifier), m_description(description)
{
}

eAction *eActionMap::findAction(const char *identifier) const
{
	for (eAction *a : m_actions)
		if (!std::strcmp(a->getIdentifier(), identifier))
			return a;
	return nullptr;
}

const std::vector<eAction *> &eActionMap::actionsFor(RcKey key) const
{
	static const std::vector<eAction *> none;
	auto it = m_bindings.find(key);
	return it == m_bindings.end() ? none : it->second;
}

cursorActions::cursorActions()
	: map("cursor", "cursor keys"), up(map, "up", "up"), down(map, "down", "down"), left(map, "left", "left"),
	  right(map, "right", "right"), ok(map, "ok", "ok"), cancel(map, "cancel", "cancel"), help(map, "help", "help")
{
	map.bindKey(RcKey::up, &up);
	map.bindKey(RcKey::down, &down);
	map.bindKey(RcKey::left, &left);
	map.bindKey(RcKey::right, &right);
	map.bindKey(RcKey::ok, &ok);
	map.bindKey(RcKey::exit, &cancel);
	map.bindKey(RcKey::help, &help);
}

shortcutActions::shortcutActions()
	: map("shortcut", "shortcut keys"), red(map, "red", "red"), green(map, "green", "green"),
	  yellow(map, "yellow", "yellow"), blue(map, "blue", "blue"), number0(map, "0", "0"), number1(map, "1", "1"),
	  number2(map, "2", "2"), number3(map, "3", "3"), number4(map, "4", "4"), number5(map, "5", "5"),
	  number6(map, "6", "6"), number7(map, "7", "7"), number8(map, "8", "8"), number9(map, "9", "9")
{
	map.bindKey(RcKey::red, &red);
	map.bindKey(RcKey::green, &green);
	map.bindKey(RcKey::yellow, &yellow);
	map.bindKey(RcKey::blue, &blue);
	for (int d = 0; d <= 9; ++d)
		map.bindKey(RcKey(int(RcKey::digit0) + d), number(d));
}

eAction *shortcutActions::number(int digit)
{
	eAction *digits[] = {&number0, &number1, &number2, &number3, &number4,
		&number5, &number6, &number7, &number8, &number9};
	return digit >= 0 && digit <= 9 ? digits[digit] : nullptr;
}

int shortcutActions::digitOf(const eAction *action) const
{
	const eAction *digits[] = {&number0, &number1, &number2, &number3, &number4,
		&number5, &number6, &number7, &number8, &number9};
	for (int d = 0; d <= 9; ++d)
		if (digits[d] == action)
			return d;
	return -1;
}

listActions::listActions() : map("list", "list keys"), pageup(map, "pageup", "page up"), pagedown(map, "pagedown", "page down")
{
	map.bindKey(RcKey::left, &pageup);
	map.bindKey(RcKey::right, &pagedown);
}

void KeyRouter::setVolumeHandler(std::function<void(RcKey)> handler)
{
	volumeHandler() = std::move(handler);
}

int KeyRouter::dispatch(eWidget *widget, RcKey key)
{
	std::weak_ptr<char> alive = widget->lifeToken();
	// Copy the maps: a handler may add or remove maps while it runs.
	std::vector<eActionMap *> maps = widget->getActionMaps();
	for (eActionMap *map : maps)
		for (eAction *action : map->actionsFor(key))
		{
			if (widget->eventHandler(eWidgetEvent(eWidgetEvent::evtAction, action)))
				return 1;
			// A handler that ended its widget has used the key.
			if (alive.expired())
				return 1;
		}
	return 0;
}

int KeyRouter::deliver(RcKey key)
{
	if (isVolumeKey(key))
	{
		if (volumeHandler())
			volumeHandler()(key);
		return 1;
	}
	eWidget *target = eWidget::keyTarget();
	if (!target)
	{
		eDebug("[host] key %s: no window takes keys", rcKeyName(key));
		return 0;
	}
	std::weak_ptr<char> alive = target->lifeToken();
	if (dispatch(target, key) || alive.expired())
		return 1;
	eWidget *focus = target->getFocus();
	if (focus && focus != target && focus->isVisibleOnScreen() && dispatch(focus, key))
		return 1;
	if (alive.expired())
		return 1;
	if ((key == RcKey::up || key == RcKey::down) && target->getFocusChain().size() > 1)
	{
		target->focusNext(key == RcKey::down ? 1 : -1);
		return 1;
	}
	return 0;
}

KeyQueue::KeyQueue(eMainloop *loop) : m_loop(loop)
{
	if (m_loop)
		m_hook = m_loop->addIdleHook([this] { return deliverOne(); });
}

KeyQueue::~KeyQueue()
{
	if (m_loop)
		m_loop->removeIdleHook(m_hook);
}

void KeyQueue::push(RcKey key)
{
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_keys.push_back(key);
	}
	// A loop blocked in poll asks its idle hooks only after it wakes.
	if (m_loop && !m_loop->isLoopThread())
		m_loop->post([] {});
}

void KeyQueue::push(std::initializer_list<RcKey> keys)
{
	for (RcKey k : keys)
		push(k);
}

size_t KeyQueue::pending() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_keys.size();
}

void KeyQueue::clear()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_keys.clear();
}

int KeyQueue::deliveredCount() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_delivered;
}

bool KeyQueue::deliverOne()
{
	RcKey key;
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		if (m_keys.empty())
			return false;
		key = m_keys.front();
		m_keys.pop_front();
		++m_delivered;
	}
	// Delivered without the lock: the key may start a modal run whose nested loop
	// asks this queue for the next key.
	KeyRouter::deliver(key);
	return true;
}
