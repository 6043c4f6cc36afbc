// Browsing a VLC 3: the main window finds out from VLC's status that it speaks
// the Lua dialect and reads its listings, whose entries VLC 3 writes with other
// types, quoting and attribute order; its error page for a directory it cannot
// list leads to the start directory as the classic 404 page does.


#include "browser/browserfixture.h"
#include "support/testfiles.h"
#include "vlc/vlcdialect.h"

namespace
{
using namespace browsertest;

eString vlc3Answer(const char *name)
{
	eString text = readSourceFile(eString("tests/fixtures/vlc3/") + name);
	EXPECT_FALSE(text.empty()) << name << " not found; run through ctest";
	return text;
}

class LuaBrowseTest : public BrowserTest
{
protected:
	void SetUp() override
	{
		BrowserTest::SetUp();
		vlc.setStatusXml(vlc3Answer("status-playing.xml"));
	}
	void TearDown() override
	{
		setActiveVlcDialect(classicDialect());
		BrowserTest::TearDown();
	}
};

TEST_F(LuaBrowseTest, ListsTheEntriesOfAVlc3Listing)
{
	vlc.setBrowse("/media/films", vlc3Answer("browse-dir.xml"));
	auto window = openWindow();
	EXPECT_STREQ("lua", activeVlcDialect().name());
	EXPECT_EQ("/requests/status.xml", vlc.targets().at(0)) << "the dialect is asked before the first listing";

	EXPECT_TRUE(CONNECTION);
	// song.mp3 has no setup in these settings.
	EXPECT_EQ((std::vector<eString>{"", "Series", "Clip One.mpg", "film.avi"}), rows(*window));
	EXPECT_EQ((std::vector<int>{ENTRY_PARENT, ENTRY_DIRECTORY, ENTRY_PLAYABLE, ENTRY_PLAYABLE}), types(*window));
	EXPECT_EQ((std::vector<eString>{"/srv/videos/..", "/srv/videos/Series", "/srv/videos/Clip One.mpg",
				  "/srv/videos/film.avi"}),
		paths(*window));
	EXPECT_EQ(0, window->playList[3].sizeMB);
	EXPECT_EQ("avi.png", window->playList[3].picture);
}

TEST_F(LuaBrowseTest, ADirectoryVlc3CannotListFallsBackToTheStartDirectory)
{
	vlc.setBrowse("/media/films", vlc3Answer("browse-dir.xml"));
	vlc.setBrowse("/gone", vlc3Answer("browse-missing.html"));
	auto window = openWindow();
	vlc.clearRequests();

	window->loadList(LIST_FILE, "/gone");
	EXPECT_EQ((std::vector<eString>{"/requests/browse.xml?dir=%2fgone", "/requests/browse.xml?dir=%2fmedia%2ffilms"}),
		vlc.targets());
	EXPECT_TRUE(CONNECTION);
	EXPECT_EQ(4u, rows(*window).size());

	// With the start directory unreadable too, the viewer gets the placeholders.
	vlc.setBrowse("/media/films", vlc3Answer("browse-missing.html"));
	window->loadList(LIST_FILE, "/gone");
	EXPECT_FALSE(CONNECTION);
	EXPECT_EQ(placeholderRows(), rows(*window));
	EXPECT_EQ(noConnectionTitle(), window->getText());
}
} // namespace
