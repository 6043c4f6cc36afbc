// The stream window: the two stream names with the words on their file types.

#include <gtest/gtest.h>

#include "host/elabel.h"
#include "windows/equeltstream.h"
#include "windows/windowsfixture.h"

namespace
{
using namespace windowstest;

TEST(StreamWindow, DescribesTheFileTypeByTheExtension)
{
	struct
	{
		const char *name, *description;
	} const cases[] = {
		{"movie.avi", " - DivX / XVID"},
		{"clip.Divx", " - DivX / XVID"},
		{"x.XviD", " - DivX / XVID"},
		{"film.mkv", "MKV - Not registered, yet."},
		{"", " - Not registered, yet."},
		{"Playlist End", "PLAYLIST END - Not registered, yet."},
		{"dvdsimple://D:@1:07-", "DVDSIMPLE://D:@1:07- - Not registered, yet."},
		{"image.iso", " - Binary Video Format"},
		{"song.mp3", " - Music for the Masses"},
		{"song.ogg", " - Music for the Masses"},
		{"a.b.ts", " - Transport Stream"},
		{"dir.vob/name", "VOB/NAME - Not registered, yet."},
		{"ends.", " - Not registered, yet."},
		{"show.mpeg", " - MPEG - Layer 1/2"},
		{"x.avs", " - AviSyth"},
		{"x.asf", " - Advanced Streaming Format"},
		{"x.wmv", " - Windows Media Video"},
	};
	for (const auto &c : cases)
		EXPECT_EQ(c.description, eQUELTStream::describe(eQUELTStream::extensionOf(c.name))) << '"' << c.name << '"';
}

TEST_F(WindowTest, TheStreamWindowNamesBothStreams)
{
	loadFile = "/media/films/movie.avi";
	nextFile = "Playlist End";
	eQUELTStream window;

	EXPECT_EQ("StreamInfo", window.getText());
	EXPECT_EQ(eRect(60, 90, 620, 430), window.getAbsoluteClientRect());
	EXPECT_EQ("Quelt RC21\n\n\nStream 1:\t/media/films/movie.avi\n\nFiletype:\t - DivX / XVID\n\n\n"
			  "Stream 2:\tPlaylist End\n\nFiletype:\tPLAYLIST END - Not registered, yet.\n\n\n",
		window.infoLabel->getText());
	EXPECT_EQ(eRect(5, 5, 600, 400), eRect(window.infoLabel->getPosition(), window.infoLabel->getSize()));
	ASSERT_EQ(1, window.versionList->getCount());
	EXPECT_EQ("RC21", window.versionList->getEntryAt(0)->getText());
	EXPECT_EQ(eSize(1, 1), window.versionList->getSize());
}

TEST_F(WindowTest, TheStreamWindowRunsUntilExit)
{
	KeyQueue keys(&host.loop());
	keys.push({RcKey::down, RcKey::exit});
	eQUELTStream::run();
	EXPECT_EQ(0u, keys.pending());
}
} // namespace
