#include "box/scriptrunner.h"

#include "host/actions.h"
#include "host/eavswitch.h"
#include "host/log.h"

ScriptRunner::ScriptRunner(eMainloop *loop, KeyScript script, std::function<void(const std::string &)> snapshot)
	: m_loop(loop), m_script(std::move(script)), m_snapshot(std::move(snapshot))
{
	m_waitTimer = std::make_unique<eTimer>(m_loop);
	m_waitTimer->timeout.connect([this] {
		m_waiting = false;
		// A script that ends in a wait has finished only when the wait is over.
		if (finished() && onFinished)
			onFinished();
	});
	m_hook = m_loop->addIdleHook([this] { return runNext(); });
}

ScriptRunner::~ScriptRunner()
{
	m_loop->removeIdleHook(m_hook);
}

bool ScriptRunner::runNext()
{
	if (m_waiting || finished() || m_quit)
		return false;
	const ScriptCommand &cmd = m_script.commands[m_next++];
	switch (cmd.kind)
	{
	case ScriptCommand::Key:
	{
		RcKey key;
		if (parseRcKey(cmd.key, key))
		{
			eDebug("[box] key %s", cmd.key.c_str());
			KeyRouter::deliver(key);
		}
		break;
	}
	case ScriptCommand::Wait:
		m_waiting = true;
		m_waitTimer->start(cmd.waitMs, true);
		break;
	case ScriptCommand::Snapshot:
		m_snapshot(cmd.name);
		break;
	case ScriptCommand::Quit:
		eDebug("[box] key script: quit");
		m_quit = true;
		m_loop->quit(0);
		break;
	}
	if (finished() && !m_waiting && onFinished)
		onFinished();
	return true;
}
