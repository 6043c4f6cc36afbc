#include "e2e/endtoend.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace
{
const char *const vlcPassword = "quelt-e2e";

std::string makeTempDir(const char *prefix)
{
	std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
	return mkdtemp(pattern.data()) ? pattern : std::string();
}

// The text between open and close after from, or empty.
std::string between(const std::string &text, const std::string &open, const std::string &close)
{
	size_t begin = text.find(open);
	if (begin == std::string::npos)
		return std::string();
	begin += open.size();
	size_t end = text.find(close, begin);
	return end == std::string::npos ? std::string() : text.substr(begin, end - begin);
}

std::string percentDecoded(const std::string &text)
{
	std::string out;
	for (size_t i = 0; i < text.size(); ++i)
	{
		if (text[i] == '%' && i + 2 < text.size() && isxdigit((unsigned char)text[i + 1]) &&
			isxdigit((unsigned char)text[i + 2]))
		{
			out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
			i += 2;
		}
		else
			out += text[i];
	}
	return out;
}

unsigned long long countBefore(const std::string &output, const std::string &what)
{
	size_t at = output.find("[box] decoder: ");
	if (at == std::string::npos)
		return 0;
	size_t end = output.find('\n', at);
	std::string line = output.substr(at, end == std::string::npos ? std::string::npos : end - at);
	size_t word = line.find(what);
	if (word == std::string::npos)
		return 0;
	size_t number = line.find_last_not_of("0123456789", word - 2);
	return std::strtoull(line.c_str() + number + 1, nullptr, 10);
}
} // namespace

std::string backendName(const ::testing::TestParamInfo<Backend> &info)
{
	return info.param == Backend::vlc3 ? "Vlc3" : "ClassicDouble";
}

bool inOrder(const std::vector<std::string> &steps, const std::vector<std::string> &wanted)
{
	size_t next = 0;
	for (const std::string &step : steps)
		if (next < wanted.size() && step == wanted[next])
			++next;
	return next == wanted.size();
}

unsigned long long decodedVideoFrames(const std::string &output)
{
	return countBefore(output, " video frames");
}

unsigned long long decodedAudioFrames(const std::string &output)
{
	return countBefore(output, " audio frames");
}

// -- StatusWatch

StatusWatch::StatusWatch(const RealVlc &vlc) : m_vlc(vlc)
{
	m_thread = std::thread([this] { run(); });
}

StatusWatch::~StatusWatch()
{
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_stop = true;
	}
	m_changed.notify_all();
	m_thread.join();
}

StatusSample StatusWatch::parse(const std::string &answer)
{
	StatusSample sample;
	sample.state = between(answer, "<state>", "</state>");
	sample.file = between(answer, "<info name='filename'>", "</info>");
	sample.time = std::atoi(between(answer, "<time>", "</time>").c_str());
	return sample;
}

void StatusWatch::run()
{
	std::unique_lock<std::mutex> lock(m_mutex);
	while (!m_stop)
	{
		lock.unlock();
		std::string answer = m_vlc.get("/requests/status.xml");
		lock.lock();
		if (answer.find("<state>") != std::string::npos)
		{
			m_samples.push_back(parse(answer));
			m_changed.notify_all();
		}
		m_changed.wait_for(lock, std::chrono::milliseconds(300), [this] { return m_stop; });
	}
}

std::vector<StatusSample> StatusWatch::samples() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_samples;
}

bool StatusWatch::waitFor(const std::function<bool(const StatusSample &)> &wanted, int timeoutMs) const
{
	std::unique_lock<std::mutex> lock(m_mutex);
	size_t seen = 0;
	return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
		for (; seen < m_samples.size(); ++seen)
			if (wanted(m_samples[seen]))
				return true;
		return m_stop;
	}) && !m_stop;
}

// -- EndToEnd

fs::path EndToEnd::s_suiteDir;
std::string EndToEnd::s_mediaError;

void EndToEnd::SetUpTestSuite()
{
	const char *source = getenv("QUELT_SOURCE_DIR");
	if (!source)
	{
		s_mediaError = "run through ctest, which names the source folder";
		return;
	}
	s_suiteDir = makeTempDir("quelt-e2e-media");
	if (s_suiteDir.empty())
	{
		s_mediaError = "cannot make a folder for the media";
		return;
	}
	ProcessResult made =
		runProcess({(fs::path(source) / "scripts/sample-media").string(), "--bad", media().string()}, 120);
	if (made.exitStatus != 0)
		s_mediaError = "scripts/sample-media failed: " + made.output;
	RealVlc::allowAccess(media().string());
}

void EndToEnd::TearDownTestSuite()
{
	if (s_suiteDir.empty())
		return;
	std::error_code ignored;
	// Open the locked folder again, so that a user who is not root can remove it.
	fs::permissions(media() / "Trouble/Locked", fs::perms::owner_all, ignored);
	fs::remove_all(s_suiteDir, ignored);
	s_suiteDir.clear();
}

fs::path EndToEnd::media()
{
	return s_suiteDir / "media";
}

void EndToEnd::SetUp()
{
	ASSERT_EQ("", s_mediaError);
	fs::path build = testBuildDir();
	m_box = build / "src/box/quelt-box";
	ASSERT_TRUE(fs::exists(m_box)) << m_box << " is not built";
	ASSERT_TRUE(fs::exists(build / "box-root/var/tuxbox/plugins/quelt.so")) << "the box root is not staged";

	if (realVlc())
	{
		if (!RealVlc::installed())
			GTEST_SKIP() << "VLC (cvlc) is not installed";
		m_vlc = std::make_unique<RealVlc>(vlcPassword);
		std::string error;
		ASSERT_TRUE(m_vlc->start(error)) << error;
	}
	else
	{
		m_clip = readWholeFile(fs::path(getenv("QUELT_SOURCE_DIR")) / "tests/fixtures/stream-mpeg2-mpga.ts");
		ASSERT_GT(m_clip.size(), 100000u);
		m_double = std::make_unique<VlcDouble>();
		m_double->setBrowseTree(media().string());
		// Three times the recorded clip: about seven seconds, more than the
		// smallest pre-buffer, as VLC sends a short file.
		m_double->setStreamData(m_clip + m_clip + m_clip);
	}

	m_dir = makeTempDir("quelt-e2e");
	ASSERT_FALSE(m_dir.empty());
	fs::copy(build / "box-root", m_dir / "root", fs::copy_options::recursive);
	writeSettings(media(), vlcPassword);
	// The smallest pre-buffer, so that a short file starts soon.
	write("var/tuxbox/config/enigma/config", "i /enigma/plugins/quelt/buffersize 4\n");
}

void EndToEnd::TearDown()
{
	m_watch.reset();
	m_vlc.reset();
	m_double.reset();
	if (!m_dir.empty())
	{
		std::error_code ignored;
		fs::remove_all(m_dir, ignored);
	}
}

void EndToEnd::writeSettings(const fs::path &startdir, const std::string &password)
{
	int webPort = m_vlc ? m_vlc->webPort() : m_double->webPort();
	int streamPort = m_vlc ? m_vlc->streamPort() : m_double->streamPort();
	// The staged settings with their transcoding setups; only the server set
	// changes. VLC 3 wants an empty user name, and the plug-in learns which VLC
	// it talks to from its answers.
	const char *relative = "var/tuxbox/config/quelt.xml";
	std::istringstream staged(readWholeFile(m_dir / "root" / relative));
	std::string line, text;
	while (std::getline(staged, line))
	{
		if (line.find("<server ") != std::string::npos)
			line = "\t<server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"" + std::to_string(webPort) +
				   "\" stream-port=\"" + std::to_string(streamPort) + "\" user=\"\" pass=\"" + password + "\"/>";
		else if (line.find("<config ") != std::string::npos)
			line = "\t<config name=\"set1\" startdir=\"" + startdir.string() + "\" cddrive=\"D:\"/>";
		text += line + "\n";
	}
	write(relative, text);
}

void EndToEnd::write(const std::string &relative, const std::string &text)
{
	fs::path file = m_dir / "root" / relative;
	fs::create_directories(file.parent_path());
	std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

ProcessResult EndToEnd::runBox(const std::string &script, int timeoutSeconds)
{
	return runHeadlessBox(m_box, m_dir / "root", m_dir, script, m_dir / "shots", timeoutSeconds);
}

std::string EndToEnd::snapshot(const std::string &name) const
{
	return readWholeFile(m_dir / "shots" / (name + ".txt"));
}

bool EndToEnd::waitForSnapshot(const std::string &name, int timeoutMs) const
{
	fs::path file = m_dir / "shots" / (name + ".txt");
	auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
	while (!fs::exists(file))
	{
		if (std::chrono::steady_clock::now() >= deadline)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(100));
	}
	return true;
}

void EndToEnd::watchVlc()
{
	if (m_vlc)
		m_watch = std::make_unique<StatusWatch>(*m_vlc);
}

std::vector<std::string> EndToEnd::playedFiles() const
{
	std::vector<std::string> files;
	auto add = [&](const std::string &file) {
		if (!file.empty() && (files.empty() || files.back() != file))
			files.push_back(file);
	};
	if (m_double)
	{
		for (const std::string &step : doubleSteps())
			if (step.compare(0, 8, "in_play ") == 0)
				add(step.substr(8));
	}
	else if (m_watch)
	{
		for (const StatusSample &sample : m_watch->samples())
			if (sample.state == "playing")
				add(sample.file);
	}
	return files;
}

std::vector<std::string> EndToEnd::doubleSteps() const
{
	std::vector<std::string> out;
	for (const eString &target : m_double->targets())
	{
		size_t command = target.find("command=");
		if (command != eString::npos)
		{
			std::string step = target.substr(command + 8);
			if (step.compare(0, 14, "in_play&input=") == 0)
			{
				std::string input = percentDecoded(step.substr(14, step.find("%20%3Asout") - 14));
				step = "in_play " + fs::path(input).filename().string();
			}
			out.push_back(step);
		}
		else if (target.find("browse.xml") != eString::npos)
			out.push_back("browse");
	}
	return out;
}
