#ifndef BOX_SCRIPTRUNNER_H
#define BOX_SCRIPTRUNNER_H

#include <functional>
#include <memory>
#include <string>

#include "box/keyscript.h"
#include "host/mainloop.h"

// Plays a key script into the GUI loop. Each command runs when the loop is idle,
// so whatever a key started (a modal box and its nested run included) has settled
// before the next one; "wait" holds the script for that long on the loop's clock.
class ScriptRunner
{
public:
	// snapshot is called for "snapshot NAME".
	ScriptRunner(eMainloop *loop, KeyScript script, std::function<void(const std::string &)> snapshot);
	~ScriptRunner();
	ScriptRunner(const ScriptRunner &) = delete;
	ScriptRunner &operator=(const ScriptRunner &) = delete;

	bool finished() const { return m_next >= m_script.commands.size(); }
	bool quitRequested() const { return m_quit; }
	// Called once when the last command has run.
	std::function<void()> onFinished;

private:
	bool runNext();

	eMainloop *m_loop;
	KeyScript m_script;
	std::function<void(const std::string &)> m_snapshot;
	size_t m_next = 0;
	bool m_quit = false;
	bool m_waiting = false;
	std::unique_ptr<eTimer> m_waitTimer;
	eMainloop::IdleHookId m_hook = 0;
};

#endif
