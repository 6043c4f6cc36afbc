// The play list's order, the list view with its pictures and highlight, the two
// list signals, and which files count as playable with which picture.

#include <algorithm>
#include <cstring>
#include <iterator>

#include "browser/browserfixture.h"
#include "host/actions.h"
#include "host/mainloop.h"
#include "host/ezaplcd.h"

namespace
{
using namespace browsertest;

PLAYLIST record(int type, const eString &name, const eString &picture = eString())
{
	PLAYLIST r;
	r.type = type;
	r.name = r.label = name;
	r.path = "/pc/" + name;
	r.picture = picture;
	return r;
}

std::vector<eString> names(const std::vector<PLAYLIST> &list)
{
	std::vector<eString> out;
	for (const PLAYLIST &r : list)
		out.push_back(r.name);
	return out;
}

TEST(SortByName, ComparesTheBytesWithoutCaseOrLocale)
{
	struct Case
	{
		eString a, b;
		bool before;
	};
	const Case cases[] = {
		{"Zoo", "apple", true},
		{"apple", "Zoo", false},
		{"Movie 10", "Movie 2", true},
		{"", "B", true},
		{"B", "", false},
		{"abc", "abcd", true},
		{"abcd", "abc", false},
		{"same", "same", false},
		{"", "", false},
		{"z", "\xe4", true}, // bytes above 127 order after ASCII
		{"\xe4", "z", false},
		{eString("a\0b", 3), "a", false},
		{"a", eString("a\0b", 3), true},
	};
	for (const Case &c : cases)
	{
		PLAYLIST a = record(ENTRY_PLAYABLE, c.a), b = record(ENTRY_PLAYABLE, c.b);
		EXPECT_EQ(c.before, sortByName(a, b)) << c.a << " / " << c.b;
	}
}

TEST(SortByType, OrdersByKindThenByName)
{
	std::vector<PLAYLIST> list = {record(ENTRY_PLAYABLE, "2.avi"), record(ENTRY_NO_SERVER, "A"),
		record(ENTRY_DIRECTORY, "x"), record(ENTRY_PLAYABLE, "10.avi"), record(ENTRY_PARENT, ""),
		record(ENTRY_DIRECTORY, "Y"), record(ENTRY_DIRECTORY, "b"), record(ENTRY_DIRECTORY, "B"),
		record(ENTRY_DIRECTORY, "a"), record(ENTRY_DIRECTORY, "")};
	std::sort(list.begin(), list.end(), sortByType);
	EXPECT_EQ((std::vector<eString>{"", "", "B", "Y", "a", "b", "x", "10.avi", "2.avi", "A"}), names(list));
	EXPECT_EQ(ENTRY_PARENT, list[0].type);
}

using ListViewTest = BrowserTest;

TEST_F(ListViewTest, FillsTheListInSortedOrderWithIndexes)
{
	auto window = openWindow();
	window->playList = {record(ENTRY_PLAYABLE, "2.avi"), record(ENTRY_DIRECTORY, "x"),
		record(ENTRY_PLAYABLE, "10.avi"), record(ENTRY_PARENT, ""), record(ENTRY_DIRECTORY, "Y")};

	window->viewList(0);

	EXPECT_EQ((std::vector<eString>{"", "Y", "x", "10.avi", "2.avi"}), names(window->playList));
	EXPECT_EQ(rows(*window), (std::vector<eString>{"", "Y", "x", "10.avi", "2.avi"}));
	for (int i = 0; i < window->fileList->getCount(); ++i)
		EXPECT_EQ(i, window->fileList->getEntry(i)->getIndex());
	// A fresh list highlights its first entry; the status line follows.
	EXPECT_EQ(0, window->fileList->getCurrentIndex());
	EXPECT_EQ("Go up one directory level", window->statusBar->getText());
}

TEST_F(ListViewTest, HighlightsTheChosenEntryButNeverTheParent)
{
	struct Case
	{
		int select;
		int current;
	};
	// Two ".." entries, so one of them stands at an index a caller may ask for.
	const Case cases[] = {{0, 0}, {3, 3}, {4, 4}, {1, 0}, {-2, 0}, {5, 0}, {99, 0}};
	auto window = openWindow();
	for (const Case &c : cases)
	{
		window->playList = {record(ENTRY_PARENT, ""), record(ENTRY_PARENT, "p"), record(ENTRY_DIRECTORY, "d"),
			record(ENTRY_PLAYABLE, "a.avi"), record(ENTRY_PLAYABLE, "b.avi")};
		window->playList[3].startOffset = 5;
		window->viewList(c.select);
		EXPECT_EQ(c.current, window->fileList->getCurrentIndex()) << "select " << c.select;
	}
	window->viewList(3);
	EXPECT_EQ("Startoffset: 05min.\nFile: a.avi\nSize: 0 MB", window->statusBar->getText());
}

TEST_F(ListViewTest, AnEmptyListKeepsTheStatusLine)
{
	auto window = openWindow();
	window->fileList->setHelpText("before");
	window->playList.clear();
	window->viewList(0);
	EXPECT_EQ(0, window->fileList->getCount());
	EXPECT_EQ("before", window->statusBar->getText());
}

TEST_F(ListViewTest, LoadsOnePicturePerEntryFromItsKind)
{
	const eString dir = "/var/tuxbox/config/enigma/pictures/quelt/";
	writePicture(dir + "goup.png", 16, 16);
	writePicture(dir + "folder.png", 16, 12);
	writePicture(dir + "avi.png", 32, 24);
	writePicture(dir + "default.png", 20, 20);
	auto window = openWindow();
	window->playList = {record(ENTRY_PARENT, ""), record(ENTRY_DIRECTORY, "d"), record(ENTRY_PLAYABLE, "a.avi", "avi.png"),
		record(ENTRY_PLAYABLE, "b.avi", "avi.png"), record(ENTRY_PLAYABLE, "c.xyz", "missing.png"),
		record(ENTRY_PLAYABLE, "d.xyz", ""), record(ENTRY_NO_SERVER, "n")};

	window->viewList(0);

	struct Expected
	{
		const char *file; // null: no picture
		eSize size;
	};
	const Expected expected[] = {{"goup.png", {16, 16}}, {"folder.png", {16, 12}}, {"avi.png", {32, 24}},
		{"avi.png", {32, 24}}, {nullptr, {}}, {nullptr, {}}, {"default.png", {20, 20}}};
	ASSERT_EQ(std::size(expected), size_t(window->fileList->getCount()));
	for (size_t i = 0; i < std::size(expected); ++i)
	{
		gPixmap *picture = window->fileList->getEntry(int(i))->getPixmap();
		if (!expected[i].file)
		{
			EXPECT_EQ(nullptr, picture) << "row " << i;
			continue;
		}
		ASSERT_NE(nullptr, picture) << "row " << i;
		EXPECT_EQ(dir + expected[i].file, picture->source.right(dir.size() + strlen(expected[i].file)));
		EXPECT_EQ(expected[i].size, picture->size());
	}
	// Every entry has a picture of its own.
	EXPECT_NE(window->fileList->getEntry(2)->getPixmap(), window->fileList->getEntry(3)->getPixmap());
	EXPECT_EQ(window->fileList->getEntry(6)->getPixmap(), eQUELT::icon);
	EXPECT_EQ(5u, window->listIcons.size());

	// A refill releases the old pictures.
	window->playList = {record(ENTRY_DIRECTORY, "d")};
	window->viewList(0);
	EXPECT_EQ(1u, window->listIcons.size());
}

TEST_F(ListViewTest, ARefreshWhileARecordingIsDueClosesTheWindow)
{
	auto window = openWindow();
	window->playList = {record(ENTRY_DIRECTORY, "d")};

	// Without a recording due the window stays until something else closes it.
	TIMEREVENT = 0;
	window->viewList(0);
	host.loop().post([&] { window->close(42); });
	EXPECT_EQ(42, window->exec());

	TIMEREVENT = 1;
	window->viewList(0);
	EXPECT_EQ(1, window->fileList->getCount());
	EXPECT_EQ(0, window->exec());
}

TEST_F(ListViewTest, TheStatusLineAndTheLcdFollowTheHighlight)
{
	auto window = openWindow();
	window->playList = {record(ENTRY_PARENT, ""), record(ENTRY_DIRECTORY, "films"), record(ENTRY_PLAYABLE, "a.avi")};
	window->viewList(0);
	KeyQueue keys(&host.loop());
	eZapLCDMain *lcd = eZapLCD::getInstance()->lcdMain;

	keys.push({RcKey::down, RcKey::down});
	eTimer closer(&host.loop());
	closer.timeout.connect([&] { window->close(0); });
	closer.start(100, true);
	EXPECT_EQ(0, window->exec());
	EXPECT_EQ(0u, keys.pending());

	EXPECT_EQ(2, window->currentIndex);
	EXPECT_EQ("Startoffset: 00min.\nFile: a.avi\nSize: 0 MB", window->statusBar->getText());
	EXPECT_EQ("a.avi", lcd->serviceName());

	// Parked, or without VLC, the highlight changes nothing.
	lcd->setServiceName("QUELT");
	window->menuVisible = false;
	window->listSelChanged(window->fileList->getEntry(1));
	window->menuVisible = true;
	CONNECTION = false;
	window->listSelChanged(window->fileList->getEntry(1));
	window->listSelChanged(nullptr);
	EXPECT_EQ(2, window->currentIndex);
	EXPECT_EQ("QUELT", lcd->serviceName());

	CONNECTION = true;
	window->listSelChanged(window->fileList->getEntry(1));
	EXPECT_EQ(1, window->currentIndex);
	EXPECT_EQ("Enter directory", window->statusBar->getText());
	EXPECT_EQ("films", lcd->serviceName());
}

// The listing requests among what VLC received.
std::vector<eString> browseTargets(const VlcDouble &vlc)
{
	std::vector<eString> out;
	for (const eString &target : vlc.targets())
		if (target.find("/requests/browse.xml") == 0)
			out.push_back(target);
	return out;
}

TEST_F(ListViewTest, OkOnADirectoryListsItAndOnAFileNamesItAndTheNext)
{
	vlc.setBrowse("/pc/films", VlcDouble::browseXml({{"directory", "..", "/pc/films/..", 0}}));
	vlc.setBrowse("/pc/films/..",
		VlcDouble::browseXml({{"directory", "..", "/pc/films/../..", 0}, {"directory", "films", "/pc/films", 0}}));
	auto window = openWindow();
	window->playList = {record(ENTRY_PARENT, ""), record(ENTRY_DIRECTORY, "films"), record(ENTRY_PLAYABLE, "a.avi"),
		record(ENTRY_PLAYABLE, "b.avi")};
	window->viewList(0);
	vlc.clearRequests();

	// Files are played, not listed; playing parks the window.
	window->listSelected(window->fileList->getEntry(2));
	EXPECT_EQ("a.avi", loadFile);
	EXPECT_EQ("b.avi", nextFile);
	window->menuVisible = true;
	window->listSelected(window->fileList->getEntry(3));
	EXPECT_EQ(3, window->currentIndex);
	EXPECT_EQ("b.avi", loadFile);
	EXPECT_EQ("Playlist End", nextFile);
	EXPECT_TRUE(browseTargets(vlc).empty());
	window->menuVisible = true;

	// Parked, without VLC or without an entry, OK does nothing.
	vlc.clearRequests();
	window->menuVisible = false;
	window->listSelected(window->fileList->getEntry(1));
	window->menuVisible = true;
	CONNECTION = false;
	window->listSelected(window->fileList->getEntry(1));
	CONNECTION = true;
	window->listSelected(nullptr);
	EXPECT_EQ("b.avi", loadFile);
	EXPECT_TRUE(vlc.targets().empty());

	window->playList = {record(ENTRY_PARENT, ""), record(ENTRY_DIRECTORY, "films"), record(ENTRY_PLAYABLE, "a.avi")};
	window->viewList(0);
	window->listSelected(window->fileList->getEntry(1));
	EXPECT_EQ(1, window->currentIndex);
	EXPECT_EQ("films", loadFile);
	EXPECT_EQ("a.avi", nextFile);
	EXPECT_EQ(std::vector<eString>{"/requests/browse.xml?dir=%2fpc%2ffilms"}, browseTargets(vlc));
	EXPECT_EQ("File: /pc/films", window->getText());
	EXPECT_EQ(std::vector<eString>{""}, rows(*window));

	// ".." lists the path as VLC gave it; VLC resolves the dots.
	vlc.clearRequests();
	window->listSelected(window->fileList->getEntry(0));
	EXPECT_EQ(std::vector<eString>{"/requests/browse.xml?dir=%2fpc%2ffilms%2f%2e%2e"}, browseTargets(vlc));
	EXPECT_EQ("File: /pc/films/..", window->getText());
	EXPECT_EQ((std::vector<eString>{"", "films"}), rows(*window));
}

TEST_F(ListViewTest, PlayableTypesAndPicturesComeFromTheFileSetups)
{
	struct Case
	{
		const char *name;
		bool playable;
		const char *picture;
	};
	const Case cases[] = {
		{"movie.AVI", true, "avi.png"},
		{"movie.avi", true, "avi.png"},
		{"MOVIE.Avi", true, "avi.png"},
		{"trailer.mpg", true, "mpg.png"},
		{"trailer.MPG", true, "mpg.png"},
		{"README", true, "text.png"},     // no dot: the whole name is the extension
		{"archive.tar.gz", true, ""},      // the last dot counts; the setup has no picture
		{"archive.tar", false, ""},
		{"movie.", false, ""},             // an empty extension
		{"avi", true, "avi.png"},
		{"movie.avi.txt", false, ""},
		{"", false, ""},
	};
	auto window = openWindow();
	for (const Case &c : cases)
	{
		EXPECT_EQ(c.playable, window->checkExtensions(c.name)) << c.name;
		EXPECT_EQ(c.picture, window->getPicture(eString(c.name))) << c.name;
	}
	EXPECT_EQ("dvd.png", window->getPicture(3));
	EXPECT_EQ("vcd.png", window->getPicture(1));
	EXPECT_EQ("vcd.png", window->getPicture(2));
	for (int kind : {0, 4, -1})
		EXPECT_EQ("error.png", window->getPicture(kind)) << kind;
}
} // namespace
