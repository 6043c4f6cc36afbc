#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "host/econfig.h"
#include "host/log.h"
#include "host/paths.h"

namespace
{
class TempDir
{
public:
	TempDir()
	{
		std::string tmpl = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/config_test.XXXXXX";
		m_path = mkdtemp(tmpl.data());
	}
	~TempDir() { std::filesystem::remove_all(m_path); }
	const std::string &path() const { return m_path; }

private:
	std::string m_path;
};

std::string readFile(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream s;
	s << in.rdbuf();
	return s.str();
}

void writeFile(const std::string &path, const std::string &text)
{
	std::ofstream(path, std::ios::binary) << text;
}

// Collects the log lines written while it lives.
class LogCapture
{
public:
	LogCapture() { hostlog::setSink(&LogCapture::sink, this); }
	~LogCapture() { hostlog::setSink(nullptr, nullptr); }
	std::vector<std::string> lines;

private:
	static void sink(const char *line, void *user) { static_cast<LogCapture *>(user)->lines.push_back(line); }
};

class ConfigTest : public ::testing::Test
{
protected:
	TempDir dir;
	std::string file = dir.path() + "/enigma/config";
};

TEST_F(ConfigTest, KeysSurviveAReopen)
{
	const std::string binary("nul\0\x01\xE4\xFF\x7F end", 12);
	const std::vector<std::pair<std::string, std::string>> strings = {
		{"/enigma/plugins/quelt/lastPath", "/home/user/My Videos/"},
		{"/empty", ""},
		{"/percent", "%41%%"},
		{"/lines", "one\ntwo\r\nthree\t"},
		{"/bytes", binary},
		{"/key with spaces\n", "v"},
	};
	const std::vector<std::pair<std::string, int>> ints = {
		{"/enigma/plugins/quelt/checkset", 2}, {"/zero", 0}, {"/neg", -17}, {"/min", INT_MIN}, {"/max", INT_MAX}};
	{
		eConfig store;
		ASSERT_EQ(store.open(file), 0);
		for (const auto &[key, value] : strings)
			ASSERT_EQ(store.setKey(key.c_str(), eString(value)), 0);
		for (const auto &[key, value] : ints)
			ASSERT_EQ(store.setKey(key.c_str(), value), 0);
		store.setKey("/replaced", 5);
		store.setKey("/replaced", "now text");
		store.setKey("/deleted", 1);
		EXPECT_EQ(store.delKey("/deleted"), 0);
		EXPECT_NE(store.delKey("/deleted"), 0);
		ASSERT_EQ(store.flush(), 0);
	}
	eConfig store;
	ASSERT_EQ(store.open(file), 0);
	for (const auto &[key, value] : strings)
	{
		eString got;
		ASSERT_EQ(store.getKey(key.c_str(), got), 0) << key;
		EXPECT_EQ(got, value) << key;
	}
	for (const auto &[key, value] : ints)
	{
		int got = 12345;
		ASSERT_EQ(store.getKey(key.c_str(), got), 0) << key;
		EXPECT_EQ(got, value) << key;
	}
	eString replaced;
	EXPECT_EQ(store.getKey("/replaced", replaced), 0);
	EXPECT_EQ(replaced, "now text");
	int deleted = 99;
	EXPECT_NE(store.getKey("/deleted", deleted), 0);
	EXPECT_EQ(deleted, 99);
	EXPECT_FALSE(access((file + ".new").c_str(), F_OK) == 0) << "no temporary file is left behind";
}

TEST_F(ConfigTest, AbsentOrOtherTypeKeysLeaveTheValue)
{
	eConfig store;
	ASSERT_EQ(store.open(file), 0);
	store.setKey("/int", 7);
	store.setKey("/text", "seven");

	for (const char *key : {"/absent", "/text", "/in", "/int/x", ""})
	{
		int value = -4;
		EXPECT_NE(store.getKey(key, value), 0) << key;
		EXPECT_EQ(value, -4) << key;
	}
	for (const char *key : {"/absent", "/int"})
	{
		eString text("keep");
		EXPECT_NE(store.getKey(key, text), 0) << key;
		EXPECT_EQ(text, "keep") << key;
		char *raw = nullptr;
		EXPECT_NE(store.getKey(key, raw), 0) << key;
		EXPECT_EQ(raw, nullptr) << key;
	}

	char *raw = nullptr;
	ASSERT_EQ(store.getKey("/text", raw), 0);
	ASSERT_NE(raw, nullptr);
	EXPECT_STREQ(raw, "seven");
	std::free(raw);
}

TEST_F(ConfigTest, CrashDuringFlushKeepsTheOldStore)
{
	{
		eConfig store;
		ASSERT_EQ(store.open(file), 0);
		store.setKey("/kept", 1);
		store.setKey("/text", "old");
		ASSERT_EQ(store.flush(), 0);
	}
	const std::string before = readFile(file);

	// The child dies by SIGXFSZ halfway through writing the new store: the file
	// size limit stops it in the middle of its write, as a power cut would.
	pid_t child = fork();
	ASSERT_GE(child, 0);
	if (child == 0)
	{
		eConfig store;
		store.open(file);
		store.setKey("/text", eString(200000, 'n'));
		store.setKey("/kept", 2);
		signal(SIGXFSZ, SIG_DFL);
		struct rlimit limit = {4096, 4096};
		setrlimit(RLIMIT_FSIZE, &limit);
		store.flush();
		_exit(0);
	}
	int status = 0;
	ASSERT_EQ(waitpid(child, &status, 0), child);
	ASSERT_TRUE(WIFSIGNALED(status)) << "the child was meant to die in the middle of its flush";
	EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

	struct stat st;
	ASSERT_EQ(stat((file + ".new").c_str(), &st), 0) << "the half-written store stays as a stray file";
	EXPECT_EQ(st.st_size, 4096);
	EXPECT_EQ(readFile(file), before);

	eConfig store;
	ASSERT_EQ(store.open(file), 0);
	int kept = 0;
	eString text;
	EXPECT_EQ(store.getKey("/kept", kept), 0);
	EXPECT_EQ(kept, 1);
	EXPECT_EQ(store.getKey("/text", text), 0);
	EXPECT_EQ(text, "old");

	// The next flush writes over the stray file and replaces the store.
	store.setKey("/kept", 3);
	ASSERT_EQ(store.flush(), 0);
	eConfig reopened;
	reopened.open(file);
	EXPECT_EQ(reopened.getKey("/kept", kept), 0);
	EXPECT_EQ(kept, 3);
}

TEST_F(ConfigTest, DamagedFileLoadsEverySoundLine)
{
	mkdir((dir.path() + "/enigma").c_str(), 0755);
	writeFile(file,
		"# configuration store\n"
		"i /a 1\n"
		"x /bad-type 1\n"     // line 3
		"i /not-a-number 1x\n" // line 4
		"s /b hello%20world\n"
		"s /broken %4\n"       // line 6
		"i /too-big 99999999999\n" // line 7
		"\n"
		"s /raw with space\n"  // line 9: an unescaped space inside the value
		"i /c -3\n"
		"i /truncated 12");    // line 11, cut off before its newline
	LogCapture log;
	eConfig store;
	ASSERT_EQ(store.open(file), 0);

	int a = 0, c = 0, other = 77;
	eString b;
	EXPECT_EQ(store.getKey("/a", a), 0);
	EXPECT_EQ(a, 1);
	EXPECT_EQ(store.getKey("/b", b), 0);
	EXPECT_EQ(b, "hello world");
	EXPECT_EQ(store.getKey("/c", c), 0);
	EXPECT_EQ(c, -3);
	for (const char *key : {"/bad-type", "/not-a-number", "/broken", "/too-big", "/raw", "/truncated"})
		EXPECT_NE(store.getKey(key, other), 0) << key;
	EXPECT_EQ(other, 77);

	std::vector<std::string> warnings;
	for (const std::string &line : log.lines)
		if (line.find(file) != std::string::npos)
			warnings.push_back(line);
	ASSERT_EQ(warnings.size(), 6u);
	// The first few are named one by one; the rest are counted.
	for (int lineNo : {3, 4, 6, 7, 9})
	{
		std::string where = file + ":" + std::to_string(lineNo) + ":";
		EXPECT_TRUE(std::any_of(warnings.begin(), warnings.end(), [&](const std::string &w) { return w.find(where) != std::string::npos; }))
			<< "no warning names " << where;
	}
	EXPECT_NE(warnings.back().find("1 more"), std::string::npos) << warnings.back();
}

TEST_F(ConfigTest, BinaryGarbageNeitherCrashesNorLoads)
{
	mkdir((dir.path() + "/enigma").c_str(), 0755);
	std::string garbage;
	for (int i = 0; i < 5000; ++i)
		garbage += char((i * 131 + 7) & 0xFF);
	writeFile(file, garbage);
	LogCapture log;
	eConfig store;
	EXPECT_EQ(store.open(file), 0);
	int value = 5;
	EXPECT_NE(store.getKey("/a", value), 0);
	EXPECT_LE(log.lines.size(), 6u);
}

TEST_F(ConfigTest, TheReceiversStoreLivesUnderTheBoxRoot)
{
	hostpaths::setRoot(dir.path());
	eConfig *store = eConfig::getInstance();
	EXPECT_EQ(store->setKey("/ezap/ui/skin", "default"), 0);
	EXPECT_EQ(store->file(), dir.path() + "/var/tuxbox/config/enigma/config");
	EXPECT_EQ(store->close(), 0) << "closing writes what was changed";
	EXPECT_NE(readFile(dir.path() + "/var/tuxbox/config/enigma/config").find("/ezap/ui/skin default"), std::string::npos);

	eString skin;
	EXPECT_EQ(eConfig::getInstance()->getKey("/ezap/ui/skin", skin), 0) << "the next use opens the file again";
	EXPECT_EQ(skin, "default");
	eConfig::getInstance()->close();
	hostpaths::setRoot("/");
}

TEST_F(ConfigTest, WorkersMayReadWhileTheGuiWrites)
{
	eConfig store;
	ASSERT_EQ(store.open(file), 0);
	store.setKey("/enigma/plugins/quelt/buffersize", 4);
	std::thread reader([&] {
		for (int i = 0; i < 2000; ++i)
		{
			int value = 0;
			ASSERT_EQ(store.getKey("/enigma/plugins/quelt/buffersize", value), 0);
			ASSERT_GE(value, 4);
		}
	});
	for (int i = 0; i < 2000; ++i)
		store.setKey("/enigma/plugins/quelt/buffersize", 4 + i % 20);
	store.flush();
	reader.join();
}
} // namespace
