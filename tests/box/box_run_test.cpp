// The box as a person runs it: a separate process that loads a plug-in, plays a
// key script and writes snapshots.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "box/keyscript.h"
#include "box/quitcodes.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace
{
class BoxRun : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char tmpl[] = "/tmp/quelt-boxrun-XXXXXX";
		ASSERT_NE(mkdtemp(tmpl), nullptr);
		m_dir = tmpl;
		fs::create_directories(m_dir / "root");
	}
	void TearDown() override { fs::remove_all(m_dir); }

	ProcessResult runBox(const std::string &script, std::vector<std::string> extra = {})
	{
		std::ofstream(m_dir / "keys") << script;
		std::vector<std::string> argv = {QUELT_BOX_PATH, "--root", (m_dir / "root").string(), "--headless",
		                                 "--keys", (m_dir / "keys").string(), "--snapshots", (m_dir / "shots").string(),
		                                 "--plugin", TEST_PLUGIN_PATH};
		argv.insert(argv.end(), extra.begin(), extra.end());
		return runProcess(argv, 60);
	}

	std::string snapshot(const std::string &name)
	{
		std::ifstream in(m_dir / "shots" / (name + ".txt"));
		std::stringstream s;
		s << in.rdbuf();
		return s.str();
	}

	fs::path m_dir;
};
} // namespace

TEST_F(BoxRun, PlaysAKeyScriptIntoThePluginAndItsModalBox)
{
	ProcessResult r = runBox("snapshot start\n"
	                         "ok          # opens a box that closes itself after a second\n"
	                         "snapshot box\n"
	                         "wait 1500\n"
	                         "snapshot after\n"
	                         "exit\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(r.exitStatus, 0) << r.output;
	EXPECT_NE(r.output.find("plugin_exec returned 0"), std::string::npos) << r.output;

	std::string start = snapshot("start");
	EXPECT_NE(start.find("eWindow"), std::string::npos) << start;
	EXPECT_NE(start.find("\"Test plug-in\""), std::string::npos) << start;
	EXPECT_NE(start.find("text=\"Hello from the plug-in\""), std::string::npos) << start;

	std::string box = snapshot("box");
	EXPECT_NE(box.find("A box that closes itself"), std::string::npos) << box;

	std::string after = snapshot("after");
	EXPECT_EQ(after.find("A box that closes itself"), std::string::npos) << after;
	EXPECT_NE(after.find("The box has closed"), std::string::npos) << after;
}

TEST_F(BoxRun, EndsWithAStatusNamingTheHostQuitAction)
{
	ProcessResult r = runBox("red\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(r.exitStatus, 12) << r.output;
	EXPECT_NE(r.output.find("restarted the GUI"), std::string::npos) << r.output;
}

TEST_F(BoxRun, QuitInAScriptEndsAtOnceAndARunOutScriptDoesNotHang)
{
	ProcessResult quit = runBox("quit\nok\n");
	ASSERT_FALSE(quit.timedOut) << quit.output;
	EXPECT_EQ(quit.exitStatus, 0) << quit.output;
	EXPECT_NE(quit.output.find("quit by the key script"), std::string::npos) << quit.output;

	ProcessResult ranOut = runBox("down\n");
	ASSERT_FALSE(ranOut.timedOut) << ranOut.output;
	EXPECT_EQ(ranOut.exitStatus, 0) << ranOut.output;
	EXPECT_NE(ranOut.output.find("key script finished"), std::string::npos) << ranOut.output;
}

TEST_F(BoxRun, RefusesBadScriptsAndMissingPluginsWithAClearMessage)
{
	ProcessResult bad = runBox("ok\nfrobnicate\nwait soon\n");
	EXPECT_EQ(bad.exitStatus, 64) << bad.output;
	EXPECT_NE(bad.output.find("line 2: unknown word 'frobnicate'"), std::string::npos) << bad.output;
	EXPECT_NE(bad.output.find("line 3: wait needs a number"), std::string::npos) << bad.output;

	ProcessResult missing = runBox("exit\n", {"--plugin", (m_dir / "nothing.so").string()});
	EXPECT_EQ(missing.exitStatus, 69) << missing.output;
	EXPECT_NE(missing.output.find("cannot load plug-in"), std::string::npos) << missing.output;
}

TEST(KeyScript, ParsesEveryCommandAndReportsEachBadLine)
{
	struct Case
	{
		const char *text;
		size_t commands;
		const char *error; // substring of the first error, or null
	} cases[] = {
		{"ok\nexit\nhelp\nup\ndown\nleft\nright\nred\ngreen\nyellow\nblue\n", 11, nullptr},
		{"0\n1\n2\n3\n4\n5\n6\n7\n8\n9\nvol+\nvol-\nmute\n", 13, nullptr},
		{"# a comment\n\n   ok   # trailing\nwait 0\nsnapshot a-b_c.1\nquit\n", 4, nullptr},
		{"wait -5\n", 0, "line 1: wait needs a number"},
		{"wait 12x\n", 0, "wait needs a number"},
		{"snapshot ../escape\n", 0, "snapshot needs a plain name"},
		{"snapshot\n", 0, "snapshot needs a plain name"},
		{"ok now\n", 0, "takes no argument"},
		{"OK\n", 0, "unknown word 'OK'"},
	};
	for (const auto &c : cases)
	{
		KeyScript s = KeyScript::parse(c.text);
		EXPECT_EQ(s.commands.size(), c.commands) << c.text;
		if (c.error)
		{
			ASSERT_FALSE(s.errors.empty()) << c.text;
			EXPECT_NE(s.errors[0].find(c.error), std::string::npos) << s.errors[0];
		}
		else
			EXPECT_TRUE(s.errors.empty()) << c.text << s.errors[0];
	}
}

TEST(BoxQuit, EachQuitCodeNamesItsAction)
{
	EXPECT_EQ(BoxQuit::outcome(0, false).status, 10);
	EXPECT_EQ(BoxQuit::outcome(2, false).status, 12);
	EXPECT_EQ(BoxQuit::outcome(4, false).status, 14);
	EXPECT_EQ(BoxQuit::outcome(0, true).status, 0);
	EXPECT_EQ(BoxQuit::outcome(BoxQuit::scriptEnded, false).status, 0);
	EXPECT_EQ(BoxQuit::outcome(7, false).status, 1);
}
