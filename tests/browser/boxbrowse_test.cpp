// The browser in the real box, headless, against VLC's double serving a directory
// tree: a key script opens a directory, goes up, lists the DVD and the (S)VCD
// chapters and returns to the files; the screen snapshots show what the viewer saw.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/estring.h"
#include "plugin/equelt.h"
#include "support/boxrun.h"
#include "support/vlcdouble.h"

namespace
{
namespace fs = std::filesystem;

void writeText(const fs::path &path, const std::string &text)
{
	fs::create_directories(path.parent_path());
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << text;
}

// What a snapshot shows of the main window: its title, the list's rows with the
// highlighted one, and the status line. Texts stay as the snapshot quotes them.
struct Screen
{
	std::string title;
	std::vector<std::string> rows;
	int current = -1;
	std::string status;
};

// The text between the quotes that follow key (key="...").
std::string quoted(const std::string &line, const std::string &key)
{
	size_t start = line.find(key + "=\"");
	if (start == std::string::npos)
		return std::string();
	start += key.size() + 2;
	size_t end = start;
	while (end < line.size() && line[end] != '"')
		end += line[end] == '\\' ? 2 : 1;
	return line.substr(start, end - start);
}

Screen parseScreen(const std::string &text)
{
	Screen screen;
	std::istringstream lines(text);
	std::string line;
	while (std::getline(lines, line))
	{
		size_t indent = line.find_first_not_of(' ');
		if (indent == std::string::npos)
			continue;
		std::string rest = line.substr(indent);
		if (rest.rfind("eWindow ", 0) == 0)
			screen.title = quoted(rest, "text");
		else if (rest.rfind("eStatusBar ", 0) == 0)
			screen.status = quoted(rest, "text");
		else if ((rest.rfind("> [", 0) == 0 || rest.rfind("- [", 0) == 0) && rest.find("] \"") != std::string::npos)
		{
			if (rest[0] == '>')
				screen.current = int(screen.rows.size());
			size_t open = rest.find("] \"") + 3;
			size_t close = rest.rfind('"');
			screen.rows.push_back(rest.substr(open, close - open));
		}
	}
	return screen;
}

std::vector<std::string> chapterRows()
{
	std::vector<std::string> rows;
	for (int n = 1; n <= 20; ++n)
		rows.push_back(eString::format("Play Chapter (if it exists) %02d", n));
	return rows;
}

class BoxBrowseTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		fs::path build = testBuildDir();
		box = build / "src/box/quelt-box";
		fs::path stagedRoot = build / "box-root";
		ASSERT_TRUE(fs::exists(box)) << box << " is built with the box";
		ASSERT_TRUE(fs::exists(stagedRoot / "var/tuxbox/plugins/quelt.so")) << "the box root is staged";

		char pattern[] = "/tmp/quelt-boxbrowse-XXXXXX";
		ASSERT_NE(nullptr, mkdtemp(pattern));
		dir = pattern;
		root = dir / "root";
		media = dir / "media";
		fs::copy(stagedRoot, root, fs::copy_options::recursive);

		writeText(media / "Films/movie.avi", std::string(3 * 1048576, 'm'));
		writeText(media / "Films/notes.txt", "not a film\n");
		writeText(media / "a.mpg", "mpg");
		writeText(media / "zeta.MKV", "mkv");
		writeText(media / "Series/x.avi", "avi");
		vlc.setBrowseTree(media.string());

		const char *setup = "<setup name=\"%s\" pic=\"%s\" ext=\"%s\" Videorate=\"1024\" Videotranscode=\"1\" "
							"Videocodec=\"mpeg2\" Videosize=\"704x576\" Audiorate=\"192\" Audiotranscode=\"1\" "
							"fps=\"25\"/>\n";
		writeText(root / "var/tuxbox/config/quelt.xml",
			eString::format("<vlc>\n"
							"<server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\"/>\n"
							"<config name=\"set1\" startdir=\"%s\" cddrive=\"D:\"/>\n",
				vlc.webPort(), vlc.streamPort(), media.c_str()) +
				eString::format(setup, "File", "avi.png", "AVI") + eString::format(setup, "File", "mpg.png", "MPG") +
				eString::format(setup, "File", "mkv.png", "MKV") + eString::format(setup, "DVD", "dvd.png", "NONE") +
				eString::format(setup, "VCD", "vcd.png", "NONE") + "</vlc>\n");
	}

	void TearDown() override
	{
		std::error_code ignored;
		fs::remove_all(dir, ignored);
	}

	ProcessResult run(const std::string &script)
	{
		return runHeadlessBox(box, root, dir, script, dir / "snapshots", 120);
	}

	std::string snapshot(const std::string &name) { return readWholeFile(dir / "snapshots" / (name + ".txt")); }

	fs::path box, dir, root, media;
	VlcDouble vlc;
};

TEST_F(BoxBrowseTest, OpensADirectoryGoesUpAndSwitchesListingModes)
{
	ProcessResult result = run("snapshot start\n"
							   "down\n"
							   "snapshot highlight\n"
							   "ok\n"
							   "snapshot films\n"
							   "ok\n"
							   "snapshot up\n"
							   "green\n"
							   "snapshot dvd\n"
							   "yellow\n"
							   "snapshot vcd\n"
							   "red\n"
							   "snapshot files\n"
							   "quit\n");
	ASSERT_FALSE(result.timedOut) << result.output;
	EXPECT_EQ(0, result.exitStatus) << result.output;

	const std::string top = media.string();
	const std::vector<std::string> topRows = {"", "Films", "Series", "a.mpg", "zeta.MKV"};
	const std::string chapterStatus = "Startoffset: 00min.\\nFile: Play Chapter (if it exists) 01\\nSize: 0 MB";
	struct Expected
	{
		const char *snapshot;
		std::string title;
		std::vector<std::string> rows;
		int current;
		std::string status;
	};
	const Expected expected[] = {
		{"start", "File: " + top, topRows, 0, "Go up one directory level"},
		{"highlight", "File: " + top, topRows, 1, "Enter directory"},
		// notes.txt has no setup, so it is not listed.
		{"films", "File: " + top + "/Films", {"", "movie.avi"}, 0, "Go up one directory level"},
		{"up", "File: " + top + "/Films/..", topRows, 0, "Go up one directory level"},
		{"dvd", "QUELT: DVD Drive -D:", chapterRows(), 0, chapterStatus},
		{"vcd", "QUELT: (S)VCD Drive -D:", chapterRows(), 0, chapterStatus},
		// Red lists the start directory, which is the last one VLC listed.
		{"files", "File: " + top + "/Films/..", topRows, 0, "Go up one directory level"},
	};
	for (const Expected &e : expected)
	{
		SCOPED_TRACE(e.snapshot);
		std::string text = snapshot(e.snapshot);
		ASSERT_FALSE(text.empty());
		Screen screen = parseScreen(text);
		EXPECT_EQ(e.title, screen.title) << text;
		EXPECT_EQ(e.rows, screen.rows) << text;
		EXPECT_EQ(e.current, screen.current) << text;
		EXPECT_EQ(e.status, screen.status) << text;
	}

	std::vector<eString> browsed;
	for (const eString &target : vlc.targets())
		if (target.find("/requests/browse.xml?dir=") == 0)
			browsed.push_back(target.mid(25));
	EXPECT_EQ((std::vector<eString>{eQUELT::quote(top), eQUELT::quote(top + "/Films"), eQUELT::quote(top + "/Films/.."),
				  eQUELT::quote(top + "/Films/..")}),
		browsed);
	// The LCD followed the highlight.
	EXPECT_NE(std::string::npos, result.output.find("[box] LCD: Films"));
}
} // namespace
