#include "support/hostfixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/clock.h"
#include "host/econfig.h"
#include "host/log.h"
#include "host/mainloop.h"
#include "host/paths.h"

namespace fs = std::filesystem;

namespace
{
// The project's box root: beside the sources, which the test runner names; run
// by hand, the nearest one above the working directory.
fs::path projectBoxRoot()
{
	const char *source = getenv("QUELT_SOURCE_DIR");
	if (source && *source)
		return fs::path(source) / "box-root";
	std::error_code error;
	for (fs::path dir = fs::current_path(error); !dir.empty(); dir = dir.parent_path())
	{
		if (fs::exists(dir / "box-root/var/tuxbox", error))
			return dir / "box-root";
		if (dir == dir.parent_path())
			break;
	}
	return "box-root";
}
} // namespace

HostFixture::HostFixture(Root root)
{
	fs::path base = fs::temp_directory_path() / "quelt-test-XXXXXX";
	std::string pattern = base.string();
	if (!mkdtemp(pattern.data()))
	{
		perror("HostFixture: mkdtemp");
		abort();
	}
	m_root = pattern;
	if (root == Root::copyOfBoxRoot)
		fs::copy(projectBoxRoot(), fs::path(m_root.c_str()), fs::copy_options::recursive);
	fs::create_directories(fs::path(m_root.c_str()) / "var/tuxbox/config/enigma");

	hostpaths::setRoot(m_root);
	hostlog::setSink(&HostFixture::logSink, this);
	eConfig::getInstance()->open(hostPath("/var/tuxbox/config/enigma/config"));
}

HostFixture::~HostFixture()
{
	m_loop.reset();
	eConfig::getInstance()->close();
	hostlog::setSink(nullptr, nullptr);
	hostpaths::setRoot("/");
	std::error_code ignored;
	fs::remove_all(fs::path(m_root.c_str()), ignored);
}

void HostFixture::writeFile(const eString &receiverPath, const eString &text) const
{
	fs::path file(hostPath(receiverPath).c_str());
	fs::create_directories(file.parent_path());
	std::ofstream out(file, std::ios::binary | std::ios::trunc);
	out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void HostFixture::removeFile(const eString &receiverPath) const
{
	std::error_code ignored;
	fs::remove(fs::path(hostPath(receiverPath).c_str()), ignored);
}

std::vector<eString> HostFixture::logLines() const
{
	std::lock_guard<std::mutex> lock(m_logMutex);
	return m_log;
}

size_t HostFixture::logCount(const eString &text) const
{
	std::lock_guard<std::mutex> lock(m_logMutex);
	size_t count = 0;
	for (const eString &line : m_log)
		if (line.find(text) != eString::npos)
			++count;
	return count;
}

void HostFixture::clearLog()
{
	std::lock_guard<std::mutex> lock(m_logMutex);
	m_log.clear();
}

eMainloop &HostFixture::loop()
{
	if (!m_loop)
	{
		m_clock = std::make_shared<VirtualClock>(0);
		m_loop = std::make_unique<eMainloop>(m_clock);
		eApp = m_loop.get();
	}
	return *m_loop;
}

VirtualClock &HostFixture::clock()
{
	loop();
	return *m_clock;
}

void HostFixture::logSink(const char *line, void *user)
{
	auto *self = static_cast<HostFixture *>(user);
	eString text(line);
	while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
		text.pop_back();
	std::lock_guard<std::mutex> lock(self->m_logMutex);
	self->m_log.push_back(text);
}

Watchdog::Watchdog(int seconds, const char *what)
{
	m_thread = std::thread([this, seconds, what] {
		std::unique_lock<std::mutex> lock(m_mutex);
		if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_finished; }))
		{
			fprintf(stderr, "watchdog: %s did not finish within %d seconds\n", what, seconds);
			abort();
		}
	});
}

Watchdog::~Watchdog()
{
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_finished = true;
	}
	m_done.notify_all();
	m_thread.join();
}
