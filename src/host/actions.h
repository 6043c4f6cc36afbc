#ifndef HOST_ACTIONS_H
#define HOST_ACTIONS_H

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <deque>
#include <vector>

#include "host/estring.h"
#include "host/mainloop.h"

class eActionMap;
class eWidget;

// The keys of the remote control as the host knows them.
enum class RcKey
{
	ok, exit, help, up, down, left, right,
	red, green, yellow, blue,
	digit0, digit1, digit2, digit3, digit4, digit5, digit6, digit7, digit8, digit9,
	volumeUp, volumeDown, mute,
};

// The key's name as key scripts write it ("ok", "down", "red", "7", "volup", ...).
const char *rcKeyName(RcKey key);
// The key of a script name; false when the name is unknown.
bool parseRcKey(const eString &name, RcKey &key);

// One thing a key can mean to a widget ("ok", "pageup", ...). Actions belong to a
// map, and widgets compare them by address: event.action == &i_cursorActions->ok.
class eAction
{
public:
	eAction(eActionMap &map, const char *identifier, const char *description);
	eAction(const eAction &) = delete;
	eAction &operator=(const eAction &) = delete;
	const char *getIdentifier() const { return m_identifier; }
	const char *getDescription() const { return m_description; }
	eActionMap *getMap() const { return m_map; }

private:
	eActionMap *m_map;
	const char *m_identifier;
	const char *m_description;
};

// A named set of actions with the keys bound to them. A widget that adds a map
// receives that map's actions for the keys bound in it.
class eActionMap
{
public:
	eActionMap(const char *identifier, const char *description);
	eActionMap(const eActionMap &) = delete;
	eActionMap &operator=(const eActionMap &) = delete;
	const char *getIdentifier() const { return m_identifier; }
	const char *getDescription() const { return m_description; }

	void add(eAction *action) { m_actions.push_back(action); }
	const std::vector<eAction *> &getActions() const { return m_actions; }
	eAction *findAction(const char *identifier) const;

	void bindKey(RcKey key, eAction *action) { m_bindings[key].push_back(action); }
	// The actions the key means in this map, in binding order (often none).
	const std::vector<eAction *> &actionsFor(RcKey key) const;

private:
	const char *m_identifier;
	const char *m_description;
	std::vector<eAction *> m_actions;
	std::map<RcKey, std::vector<eAction *>> m_bindings;
};

// What a widget's eventHandler receives.
struct eWidgetEvent
{
	enum eventType
	{
		evtAction,
	};
	int type;
	const eAction *action;
	eWidgetEvent(int type_, const eAction *action_ = nullptr) : type(type_), action(action_) {}
};

// The platform's three maps. Left and right are also the list's page keys.
struct cursorActions
{
	eActionMap map;
	eAction up, down, left, right, ok, cancel, help;
	cursorActions();
};

struct shortcutActions
{
	eActionMap map;
	eAction red, green, yellow, blue;
	eAction number0, number1, number2, number3, number4, number5, number6, number7, number8, number9;
	shortcutActions();
	// The digit action 0..9, or null.
	eAction *number(int digit);
	// The digit 0..9 an action stands for, or -1.
	int digitOf(const eAction *action) const;
};

struct listActions
{
	eActionMap map;
	eAction pageup, pagedown;
	listActions();
};

extern cursorActions *const i_cursorActions;
extern shortcutActions *const i_shortcutActions;
extern listActions *const i_listActions;

// Delivers keys along the platform's route. The key goes to the widget keys belong
// to now (the innermost modal run's widget, see eWidget::keyTarget): first that
// widget's eventHandler, with each action the key means in each of the widget's
// maps, in the order the maps were added; when none of them was used, the same for
// the widget's focused child (when it is shown); when still unused, up and down
// move the focus along the window's focus chain. Volume keys never reach a widget: they go to the
// volume handler. GUI thread only.
class KeyRouter
{
public:
	// Returns 1 when something used the key.
	static int deliver(RcKey key);
	// The box connects its volume switch here; unset, volume keys are dropped.
	static void setVolumeHandler(std::function<void(RcKey)> handler);

private:
	static int dispatch(eWidget *widget, RcKey key);
};

// Keys waiting for the GUI loop. They are delivered one at a time when the loop is
// idle, so everything a key starts (a modal box with its own nested run included)
// settles before the next key arrives. push may be called from any thread.
class KeyQueue
{
public:
	explicit KeyQueue(eMainloop *loop = eApp);
	~KeyQueue();
	KeyQueue(const KeyQueue &) = delete;
	KeyQueue &operator=(const KeyQueue &) = delete;

	void push(RcKey key);
	void push(std::initializer_list<RcKey> keys);
	size_t pending() const;
	void clear();
	// Keys delivered so far (volume keys included).
	int deliveredCount() const;

private:
	bool deliverOne();

	eMainloop *m_loop;
	eMainloop::IdleHookId m_hook = 0;
	// -- The queue and the count are protected by m_mutex.
	mutable std::mutex m_mutex;
	std::deque<RcKey> m_keys;
	int m_delivered = 0;
};

#endif
