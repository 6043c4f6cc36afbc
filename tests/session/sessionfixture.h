#ifndef SESSION_SESSIONFIXTURE_H
#define SESSION_SESSIONFIXTURE_H

// The main window playing through the real engine against VLC's double: a
// listing of three files, a stream the double serves for each of them, the
// engine's real-clock waits shortened, /dev/pvr as a plain file. Modal runs are
// recorded (and answered when nobody else would end them), and the virtual clock
// stands still while a stream runs, so a supervision tick sees the engine as a
// viewer would after the file has played.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "config/configkeys.h"
#include "engine/engine.h"
#include "engine/enginetimings.h"
#include "host/actions.h"
#include "host/decoder.h"
#include "host/emessagebox.h"
#include "host/etimermanager.h"
#include "host/ezaplcd.h"
#include "host/paths.h"
#include "infobar/equeltinfo.h"
#include "plugin/mainwindowfixture.h"
#include "session/backgroundpicture.h"
#include "timerguard/guardclock.h"

namespace sessiontest
{
using namespace mainwindowtest;

// One modal run the watcher saw: a message box or one of the plug-in's windows.
struct ShownModal
{
	eString className; // "eMessageBox", "eQUELTInfo", or the window's class
	eString title;
	eString text; // a box's message
	int flags = 0;
	int timeout = 0; // a box's timeout in seconds
	int64_t shownAt = 0;
};

// Looks at the screen whenever the loop is idle and records each new modal run
// other than the main window's own. A box without a timeout is answered with OK
// and a window is left with Exit, as a viewer would; a box with a timeout is left
// to close by itself on the virtual clock.
class ModalWatcher
{
public:
	explicit ModalWatcher(eMainloop &loop) : m_loop(loop)
	{
		m_hook = m_loop.addIdleHook([this] { return look(); });
	}
	~ModalWatcher() { m_loop.removeIdleHook(m_hook); }
	ModalWatcher(const ModalWatcher &) = delete;
	ModalWatcher &operator=(const ModalWatcher &) = delete;

	std::vector<ShownModal> shown;
	// Windows and boxes without a timeout are ended only while this is set.
	bool answer = true;

	std::vector<eString> titles() const
	{
		std::vector<eString> out;
		for (const ShownModal &m : shown)
			out.push_back(m.title);
		return out;
	}
	std::vector<eString> texts() const
	{
		std::vector<eString> out;
		for (const ShownModal &m : shown)
			out.push_back(m.text);
		return out;
	}
	// Each run in a line: "Title: message" for a box, "infobar", or the window's title.
	std::vector<eString> summary() const
	{
		std::vector<eString> out;
		for (const ShownModal &m : shown)
		{
			if (m.className == "eMessageBox")
				out.push_back(m.title + ": " + m.text);
			else if (m.className == "eQUELTInfo")
				out.push_back("infobar");
			else
				out.push_back(m.title);
		}
		return out;
	}
	void clear() { shown.clear(); }

private:
	bool look()
	{
		eWidget *target = eWidget::keyTarget();
		if (!target || !target->isModal() || dynamic_cast<eQUELT *>(target))
			return false;
		if (target != m_current || m_currentLife.expired())
		{
			m_current = target;
			m_currentLife = target->lifeToken();
			ShownModal m;
			m.className = dynamic_cast<eQUELTInfo *>(target) ? "eQUELTInfo" : target->className();
			m.title = target->getText();
			m.shownAt = m_loop.nowMs();
			if (auto *box = dynamic_cast<eMessageBox *>(target))
			{
				m.text = box->getMessage();
				m.flags = box->getFlags();
				m.timeout = box->getTimeout();
			}
			shown.push_back(m);
		}
		if (!answer)
			return false;
		if (auto *box = dynamic_cast<eMessageBox *>(target))
		{
			if (box->getTimeout() > 0)
				return false;
			KeyRouter::deliver(RcKey::ok);
			return true;
		}
		KeyRouter::deliver(RcKey::exit);
		return true;
	}

	eMainloop &m_loop;
	eMainloop::IdleHookId m_hook = 0;
	eWidget *m_current = nullptr;
	std::weak_ptr<char> m_currentLife;
};

// count transport packets: video on PID 0x64 with a PES start every 25 packets,
// audio on PID 0xC8 every 10th packet.
inline eString transportStream(int count)
{
	eString out;
	out.reserve(size_t(count) * 188);
	for (int i = 0; i < count; ++i)
	{
		bool audio = i % 10 == 3;
		int pid = audio ? 0xC8 : 0x64;
		bool start = audio || i % 25 == 0;
		eString p(188, char(i * 7 + 1));
		p[0] = 0x47;
		p[1] = char((start ? 0x40 : 0) | (pid >> 8));
		p[2] = char(pid & 0xFF);
		p[3] = 0x10;
		if (start)
		{
			const char pes[] = {0, 0, 1, char(audio ? 0xC0 : 0xE0), 0, 0};
			p.replace(4, 6, pes, 6);
		}
		out += p;
	}
	return out;
}

// A file's stream as the double serves it: enough for the engine's smallest
// pre-buffer (4 blocks) and a little more, after which the double closes the
// connection as VLC does at the end of its input.
inline eString fileStream()
{
	return transportStream(6000);
}

// A stream without end, for a file that plays while a test presses keys.
class EndlessStream : public VlcDouble::ByteSource
{
public:
	size_t read(char *buffer, size_t max) override
	{
		size_t done = 0;
		while (done < max)
		{
			if (m_offset == m_chunk.size())
			{
				m_chunk = transportStream(250);
				m_offset = 0;
			}
			size_t n = std::min(max - done, m_chunk.size() - m_offset);
			memcpy(buffer + done, m_chunk.data() + m_offset, n);
			done += n;
			m_offset += n;
		}
		return done;
	}

private:
	eString m_chunk;
	size_t m_offset = 0;
};

class SessionTest : public MainWindowTest
{
protected:
	void SetUp() override
	{
		MainWindowTest::SetUp();
		if (HasFatalFailure())
			return;
		EngineTimings timings;
		timings.videoStallMs = 1500;
		timings.audioStallMs = 1500;
		timings.playOutMs = 50;
		timings.prebufferWaitMs = 1000;
		timings.answerTimeoutMs = 500;
		setEngineTimings(timings);
		retryC = 0;
		audioOnly = false;
		Decoder::parms = decoderParameters();
		Decoder::clearHistory();
		host.writeFile("/dev/pvr", "");
		eConfig::getInstance()->setKey(configkey::buffersize, 4);

		host.writeFile("/var/tuxbox/config/quelt.xml",
			eString::format("<vlc>\n"
							"<server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\" user=\"\" "
							"pass=\"quelt\"/>\n"
							"<config name=\"set1\" startdir=\"/media/films\" cddrive=\"D:\"/>\n"
							"<setup name=\"File\" pic=\"mpg.png\" ext=\"MPG\" Videorate=\"1024\" Videotranscode=\"1\" "
							"Videocodec=\"mpeg2\" Videosize=\"704x576\" Audiorate=\"192\" Audiotranscode=\"1\" fps=\"25\" "
							"soutadd=\"\"/>\n"
							"</vlc>\n",
				vlc.webPort(), vlc.streamPort()));
		listFiles({"a.mpg", "b.mpg", "c.mpg"});
		vlc.setStreamData(fileStream());

		watcher = std::make_unique<ModalWatcher>(host.loop());
		m_holdHook = host.loop().addIdleHook([this] { return holdWhileStreaming(); });
	}

	void TearDown() override
	{
		host.loop().removeIdleHook(m_holdHook);
		watcher.reset();
		// A stream that still runs ends before the next test.
		if (pvr.joinable() || receiver.joinable())
		{
			engine->status = STATUS_CLOSING;
			engine->control("stop", "nofile", 1);
		}
		setEngineTimings(EngineTimings());
		eTimerManager::getInstance()->setCounter(nullptr);
		setGuardTimeSource(nullptr);
		MainWindowTest::TearDown();
	}

	// The start directory lists "..", then these files.
	void listFiles(const std::vector<eString> &names)
	{
		std::vector<VlcDouble::Entry> entries = {{"directory", "..", "/media/films/..", 0}};
		for (const eString &name : names)
			entries.push_back({"file", name, "/media/films/" + name, 700});
		vlc.setBrowse("/media/films", VlcDouble::browseXml(entries));
	}

	// Every file plays until it is stopped, paced as VLC paces a stream; the
	// clock then runs on during playback.
	void serveEndlessStreams()
	{
		holdClock = false;
		vlc.setStreamRate(4 * 1000 * 1000);
		vlc.setStreamSource([] { return std::make_unique<EndlessStream>(); });
	}

	// The receiver's still-picture tool as a script that notes each picture it
	// is given, and the picture itself.
	void installPictureTool()
	{
		host.writeFile(backgroundpicture::picture, "still picture");
		host.writeFile(backgroundpicture::tool, "#!/bin/sh\necho \"$1\" >> \"$0.log\"\n");
		chmod(hostPath(backgroundpicture::tool).c_str(), 0755);
	}

	// The pictures the tool has shown so far. The tool runs on its own, so this
	// waits (at most a generous while) until it has shown at least expected.
	size_t picturesShown(size_t expected = 0)
	{
		auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
		for (;;)
		{
			std::ifstream log((hostPath(backgroundpicture::tool) + ".log").c_str());
			std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
			size_t lines = size_t(std::count(text.begin(), text.end(), '\n'));
			if (lines >= expected || std::chrono::steady_clock::now() > deadline)
				return lines;
			host.loop().processOneEvent(false);
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
		}
	}

	// Runs the loop until pred holds; false when it did not within many passes.
	bool runUntilTrue(const std::function<bool()> &pred, int passes = 100000)
	{
		for (int i = 0; i < passes; ++i)
		{
			if (pred())
				return true;
			host.loop().processOneEvent(true);
		}
		return pred();
	}

	// Runs the loop for ms of virtual time from now.
	void runFor(int64_t ms)
	{
		int64_t until = host.clock().nowMs() + ms;
		eTimer stop(&host.loop());
		stop.start(long(ms), true);
		while (host.clock().nowMs() < until || stop.isActive())
			host.loop().processOneEvent(true);
	}

	// Runs body while the window runs modally, as plugin_exec runs it, so keys
	// reach it wherever they would on the receiver; the window is closed after.
	void runInside(eQUELT &window, const std::function<void()> &body)
	{
		bool ran = false;
		eMainloop::IdleHookId hook = host.loop().addIdleHook([&] {
			if (ran)
				return false;
			ran = true;
			body();
			window.close(0);
			return true;
		});
		window.exec();
		host.loop().removeIdleHook(hook);
		EXPECT_TRUE(ran);
	}

	// Keys go to the window that takes them now, as the remote control delivers
	// them; whatever a key opens runs before press returns.
	static void press(std::initializer_list<RcKey> keys)
	{
		for (RcKey key : keys)
			KeyRouter::deliver(key);
	}

	// The window with its first listing done, the timer guard's first run over
	// and the volume display it brought up gone again.
	std::unique_ptr<eQUELT> openBrowser()
	{
		auto window = openWindow();
		EXPECT_TRUE(runUntilTrue([] { return !startUp && !volumeIsVisible; }, 100));
		vlc.clearRequests();
		return window;
	}

	// The inputs VLC was asked to play, as the in_play requests name them.
	std::vector<eString> playedInputs() const
	{
		std::vector<eString> out;
		for (const eString &command : commands())
			if (command.left(7) == "in_play")
			{
				size_t begin = command.find("input=") + 6;
				out.push_back(command.mid(begin, command.find("%20%3Asout") - begin));
			}
		return out;
	}

	size_t decoderCalls(const std::string &prefix) const
	{
		size_t n = 0;
		for (const std::string &call : Decoder::history())
			if (call.rfind(prefix, 0) == 0)
				++n;
		return n;
	}

	// While set, the virtual clock does not move on while a stream runs.
	bool holdClock = true;
	std::unique_ptr<ModalWatcher> watcher;
	eQUELTEngine *engine = eQUELTEngine::getInstance();

private:
	bool holdWhileStreaming()
	{
		int status = engine->status;
		if (holdClock && (status == STATUS_PLAYING || status == STATUS_STARTED) && pvr.joinable())
			engine->status.waitFor(STATUS_IDLE, std::chrono::seconds(30));
		return false;
	}

	eMainloop::IdleHookId m_holdHook = 0;
};
} // namespace sessiontest

#endif
