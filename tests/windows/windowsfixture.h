#ifndef WINDOWS_WINDOWSFIXTURE_H
#define WINDOWS_WINDOWSFIXTURE_H

// The settings, stream and help windows on the headless host: an empty box root
// with its configuration store, a virtual clock, the plug-in's globals as loaded.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "host/actions.h"
#include "host/econfig.h"
#include "host/emessagebox.h"
#include "host/mainloop.h"
#include "plugin/globals.h"
#include "support/hostfixture.h"

namespace windowstest
{
// Notes each message box that takes the keys, once, as the loop meets it idle.
// Made before a KeyQueue, it looks at a box before the queue answers it.
class BoxWatcher
{
public:
	explicit BoxWatcher(eMainloop &loop) : m_loop(loop)
	{
		m_hook = m_loop.addIdleHook([this] {
			auto *box = dynamic_cast<eMessageBox *>(eWidget::keyTarget());
			if (box && (m_last.expired() || box != m_lastBox))
			{
				messages.push_back(box->getMessage());
				captions.push_back(box->getText());
				flags.push_back(box->getFlags());
				m_last = box->lifeToken();
				m_lastBox = box;
			}
			return false;
		});
	}
	~BoxWatcher() { m_loop.removeIdleHook(m_hook); }
	BoxWatcher(const BoxWatcher &) = delete;
	BoxWatcher &operator=(const BoxWatcher &) = delete;

	std::vector<eString> messages, captions;
	std::vector<int> flags;

private:
	eMainloop &m_loop;
	eMainloop::IdleHookId m_hook;
	std::weak_ptr<char> m_last;
	const eWidget *m_lastBox = nullptr;
};

class WindowTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		resetPluginGlobals();
		host.loop();
	}

	// Keys to the window in front, as the remote control gives them.
	static void press(std::initializer_list<RcKey> keys)
	{
		for (RcKey key : keys)
			KeyRouter::deliver(key);
	}

	static void press(RcKey key, int times)
	{
		for (int i = 0; i < times; ++i)
			KeyRouter::deliver(key);
	}

	static int intKey(const char *key, int fallback)
	{
		int value = fallback;
		eConfig::getInstance()->getKey(key, value);
		return value;
	}

	static bool hasKey(const char *key)
	{
		int number;
		eString text;
		return eConfig::getInstance()->getKey(key, number) == 0 || eConfig::getInstance()->getKey(key, text) == 0;
	}

	HostFixture host;
	Watchdog watchdog{60, "windows test"};
};
} // namespace windowstest

#endif
