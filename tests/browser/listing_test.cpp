// Directory listings through VLC's double and the disc chapter lists: what is
// asked, what is listed in which order, the titles, the remembered directories,
// the fallback to the start directory and the placeholders.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <iterator>

#include "browser/browserfixture.h"
#include "config/configkeys.h"
#include "host/xmltree.h"

namespace
{
using namespace browsertest;

const eString browse = "/requests/browse.xml?dir=";

// A port on loopback where nothing listens.
int closedPort()
{
	int s = socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in address{};
	address.sin_family = AF_INET;
	address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
	socklen_t length = sizeof address;
	getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
	close(s);
	return ntohs(address.sin_port);
}

using ListingTest = BrowserTest;

TEST_F(ListingTest, ADirectoryIsAskedOfVlcAndListedInOrder)
{
	vlc.setBrowse("/media/films/new", VlcDouble::browseXml({
											  {"file", "b.avi", "/media/films/new/b.avi", 700LL * 1048576},
											  {"directory", "x", "/media/films/new/x", 4096},
											  {"directory", "..", "/media/films/new/..", 4096},
											  {"file", "readme.txt", "/media/films/new/readme.txt", 10},
											  {"directory", "Y", "/media/films/new/Y", 4096},
											  {"file", "2.AVI", "/media/films/new/2.AVI", 1048575},
											  {"directory", "A:", "/media/films/new/A:", 0},
											  {"file", "10.mpg", "/media/films/new/10.mpg", 1048576},
											  {"directory", "a:", "/media/films/new/a:", 0},
											  {"directory", "d:", "/media/films/new/d:", 0},
										  }));
	auto window = openWindow();
	vlc.clearRequests();
	host.clearLog();

	window->loadList(LIST_FILE, "/media/films/new");

	EXPECT_EQ(std::vector<eString>{browse + "%2fmedia%2ffilms%2fnew"}, vlc.targets());
	EXPECT_EQ("File: /media/films/new", window->getText());
	// The ".." entry first, then directories, then files, each by the bytes of
	// their names; "A:" and the disc drive are left out, as is a type without setup.
	EXPECT_EQ((std::vector<eString>{"", "Y", "a:", "x", "10.mpg", "2.AVI", "b.avi"}), rows(*window));
	EXPECT_EQ((std::vector<int>{ENTRY_PARENT, ENTRY_DIRECTORY, ENTRY_DIRECTORY, ENTRY_DIRECTORY, ENTRY_PLAYABLE,
				  ENTRY_PLAYABLE, ENTRY_PLAYABLE}),
		types(*window));
	EXPECT_EQ((std::vector<eString>{"/media/films/new/..", "/media/films/new/Y", "/media/films/new/a:",
				  "/media/films/new/x", "/media/films/new/10.mpg", "/media/films/new/2.AVI", "/media/films/new/b.avi"}),
		paths(*window));
	const PLAYLIST &parent = window->playList[0];
	EXPECT_EQ("", parent.name);
	EXPECT_EQ("", parent.label);
	const PLAYLIST &b = window->playList[6];
	EXPECT_EQ("b.avi", b.name);
	EXPECT_EQ("b.avi", b.label);
	EXPECT_EQ("avi.png", b.picture);
	EXPECT_EQ(0, b.startOffset);
	EXPECT_EQ(700, b.sizeMB);
	EXPECT_EQ(1, window->playList[4].sizeMB);
	EXPECT_EQ("mpg.png", window->playList[4].picture);
	EXPECT_EQ(0, window->playList[5].sizeMB);

	EXPECT_TRUE(CONNECTION);
	EXPECT_EQ("/media/films/new", startdir);
	// The last directory element of the answer decides.
	EXPECT_EQ("/media/films/new/a:", l_path);
	EXPECT_EQ(LIST_FILE, window->listMode);
	EXPECT_EQ(LIST_FILE, intKey(configkey::lastmode, -1));
	EXPECT_EQ(0, window->fileList->getCurrentIndex());
	EXPECT_EQ("Go up one directory level", window->statusBar->getText());
	EXPECT_TRUE(host.logContains("[quelt_RC]: received server response"));
	EXPECT_TRUE(host.logContains("[quelt_RC]: server response is valid!"));
}

TEST_F(ListingTest, BackslashesAreDoubledAndSentBackSo)
{
	// A PC with Windows paths; VLC writes some names escaped.
	vlc.setBrowse("C:\\Movies", "<root>\n"
								"<element type=\"directory\" name=\"..\" path=\"C:\\Movies\\..\" size=\"0\"/>\n"
								"<element type=\"directory\" name=\"Kids\" path=\"C:\\Movies\\Kids\" size=\"0\"/>\n"
								"<element type=\"file\" name=\"A%20b.avi\" path=\"C:\\Movies\\A%20b.avi\" size=\"0\"/>\n"
								"</root>\n");
	vlc.setBrowse("C:\\\\Movies\\\\Kids", VlcDouble::browseXml({{"directory", "..", "C:\\Movies\\Kids\\..", 0}}));
	auto window = openWindow();
	vlc.clearRequests();

	window->loadList(LIST_FILE, "C:\\Movies");

	EXPECT_EQ((std::vector<eString>{"", "Kids", "A b.avi"}), rows(*window));
	EXPECT_EQ((std::vector<eString>{"C:\\\\Movies\\\\..", "C:\\\\Movies\\\\Kids", "C:\\\\Movies\\\\A b.avi"}),
		paths(*window));
	EXPECT_EQ("C:\\\\Movies\\\\Kids", l_path);

	window->fileList->setCurrent(1);
	window->listSelected(window->fileList->getCurrent());

	EXPECT_EQ((std::vector<eString>{browse + "C:%5cMovies", browse + "C:%5c%5cMovies%5c%5cKids"}), vlc.targets());
	EXPECT_EQ("File: C:\\\\Movies\\\\Kids", window->getText());
	EXPECT_EQ("C:\\\\Movies\\\\Kids", startdir);
	// Three characters come off the ".." path: with its separator doubled, one
	// backslash of it stays.
	EXPECT_EQ("C:\\\\Movies\\\\Kids\\", l_path);
}

struct LastPathCase
{
	const char *name;
	std::vector<VlcDouble::Entry> entries;
	const char *lastPath;
};

class LastPathTest : public BrowserTest, public ::testing::WithParamInterface<LastPathCase>
{
};

TEST_P(LastPathTest, IsSetByTheLastDirectoryElement)
{
	const LastPathCase &c = GetParam();
	vlc.setBrowse("/home/films", VlcDouble::browseXml(c.entries));
	auto window = openWindow();
	l_path = "earlier";
	window->loadList(LIST_FILE, "/home/films");
	EXPECT_EQ(c.lastPath, l_path);
}

INSTANTIATE_TEST_SUITE_P(Answers, LastPathTest,
	::testing::Values(LastPathCase{"parentOnly", {{"directory", "..", "/home/films/..", 0}}, "/home/films"},
		LastPathCase{"parentThenSubdirectory",
			{{"directory", "..", "/home/films/..", 0}, {"directory", "new", "/home/films/new", 0}}, "/home/films/new"},
		LastPathCase{"subdirectoryThenParent",
			{{"directory", "new", "/home/films/new", 0}, {"directory", "..", "/home/films/..", 0}}, "/home/films"},
		LastPathCase{"filesOnly", {{"file", "a.avi", "/home/films/a.avi", 0}}, "earlier"},
		LastPathCase{"shortParentPath", {{"directory", "..", "..", 0}}, ".."},
		LastPathCase{"rootParentPath", {{"directory", "..", "/..", 0}}, ""}),
	[](const ::testing::TestParamInfo<LastPathCase> &info) { return eString(info.param.name); });

TEST_F(ListingTest, AValidListingBecomesTheStartDirectory)
{
	vlc.setBrowse("/media/films/new", VlcDouble::browseXml({{"directory", "..", "/media/films/new/..", 0}}));
	auto window = openWindow();
	window->loadList(LIST_FILE, "/media/films/new");
	vlc.clearRequests();

	// Later fallbacks go to the new start directory.
	window->loadList(LIST_FILE, "/media/films/gone");

	EXPECT_EQ((std::vector<eString>{browse + "%2fmedia%2ffilms%2fgone", browse + "%2fmedia%2ffilms%2fnew"}),
		vlc.targets());
	EXPECT_EQ("/media/films/new", window->getText());
	EXPECT_EQ("/media/films/new", startdir);
}

TEST_F(ListingTest, ADirectoryVlcCannotListFallsBackToTheStartDirectory)
{
	auto window = openWindow();
	vlc.clearRequests();
	host.clearLog();

	window->loadList(LIST_FILE, "/media/films/gone");

	EXPECT_EQ((std::vector<eString>{browse + "%2fmedia%2ffilms%2fgone", browse + "%2fmedia%2ffilms"}), vlc.targets());
	// The title names the start directory alone.
	EXPECT_EQ("/media/films", window->getText());
	EXPECT_EQ(std::vector<eString>{""}, rows(*window));
	EXPECT_EQ("/media/films", startdir);
	EXPECT_TRUE(CONNECTION);
	EXPECT_TRUE(host.logContains(
		"[quelt_RC]: server response is'nt valid, or startpath doesnt exists. trying to get initial path"));
	EXPECT_TRUE(host.logContains("[quelt_RC: connection to vlc server successfully established with xml dest. path"));
}

TEST_F(ListingTest, AFallbackThatIsNotValidEitherLosesTheConnection)
{
	auto window = openWindow();
	vlc.setBrowse("/media/films", "<html><title>Error 404</title></html>");
	vlc.clearRequests();
	host.clearLog();

	window->loadList(LIST_FILE, "/media/films/gone");

	EXPECT_EQ(2u, vlc.targets().size());
	EXPECT_FALSE(CONNECTION);
	EXPECT_EQ(noConnectionTitle(), window->getText());
	EXPECT_EQ(placeholderRows(), rows(*window));
	EXPECT_TRUE(host.logContains("[quelt_RC]: cant establish connection to vlc server"));

	// Lost once, the connection is not tried again.
	vlc.clearRequests();
	window->loadList(LIST_FILE, "/media/films");
	EXPECT_TRUE(vlc.targets().empty());
	EXPECT_EQ(placeholderRows(), rows(*window));
}

TEST_F(ListingTest, AnEmptyFallbackAnswerKeepsTheConnectionAndListsNothing)
{
	auto window = openWindow();
	vlc.setBrowse("/media/films/odd", "<root>nothing here</root>");
	vlc.setBrowse("/media/films", "");
	vlc.clearRequests();

	::testing::internal::CaptureStdout();
	window->loadList(LIST_FILE, "/media/films/odd");
	eString printed = ::testing::internal::GetCapturedStdout();

	EXPECT_EQ(2u, vlc.targets().size());
	EXPECT_TRUE(CONNECTION);
	EXPECT_EQ("File: /media/films/odd", window->getText());
	EXPECT_TRUE(rows(*window).empty());
	EXPECT_EQ("Error: No Root Node\n", printed);
}

TEST_F(ListingTest, AnEmptyPathInFileModeShowsThePlaceholdersWithoutAsking)
{
	auto window = openWindow();
	vlc.clearRequests();
	window->statusBar->setText("before");

	window->loadList(LIST_FILE, "");

	EXPECT_TRUE(vlc.targets().empty());
	EXPECT_FALSE(CONNECTION);
	EXPECT_EQ(noConnectionTitle(), window->getText());
	EXPECT_EQ(placeholderRows(), rows(*window));
	EXPECT_EQ(std::vector<int>(21, ENTRY_NO_SERVER), types(*window));
	EXPECT_EQ(window->fileList, window->getFocus());
	EXPECT_EQ("NO SERVER CONNECTION, please check your Settings and ensure that VLC is startet on the PC\n"
			  "Check also your startpath settings! /media/films",
		window->statusBar->getText());
}

struct DiscCase
{
	const char *name;
	const char *cddrive;
	int mode;
	const char *path;
	const char *title;
	const char *firstPath;
	const char *lastPath;
	const char *picture;
};

class DiscListingTest : public BrowserTest, public ::testing::WithParamInterface<DiscCase>
{
};

TEST_P(DiscListingTest, ListsTwentyChaptersWithoutAskingVlc)
{
	const DiscCase &c = GetParam();
	writeBrowserSettings(c.cddrive);
	auto window = openWindow();
	vlc.clearRequests();

	window->loadList(c.mode, c.path);

	EXPECT_TRUE(vlc.targets().empty());
	EXPECT_EQ(c.title, window->getText());
	ASSERT_EQ(20u, window->playList.size());
	for (int n = 1; n <= 20; ++n)
	{
		const PLAYLIST &chapter = window->playList[size_t(n - 1)];
		EXPECT_EQ(ENTRY_PLAYABLE, chapter.type);
		EXPECT_EQ(eString::format("Play Chapter (if it exists) %02d", n), chapter.name);
		EXPECT_EQ(chapter.name, chapter.label);
		EXPECT_EQ(c.picture, chapter.picture);
	}
	EXPECT_EQ(c.firstPath, window->playList.front().path);
	EXPECT_EQ(c.lastPath, window->playList.back().path);
	EXPECT_EQ(c.mode, window->listMode);
	EXPECT_EQ(c.mode, intKey(configkey::lastmode, -1));
	EXPECT_EQ(window->fileList, window->getFocus());
	EXPECT_EQ("Startoffset: 00min.\nFile: Play Chapter (if it exists) 01\nSize: 0 MB", window->statusBar->getText());
}

INSTANTIATE_TEST_SUITE_P(Discs, DiscListingTest,
	::testing::Values(DiscCase{"dvd", "D:", LIST_DVD, "", "QUELT: DVD Drive -D:", "dvdsimple://D:@1:01-",
						  "dvdsimple://D:@1:20-", "dvd.png"},
		DiscCase{"vcd", "D:", LIST_VCD, "", "QUELT: (S)VCD Drive -D:", "vcd://D:@1:01-", "vcd://D:@1:20-", "vcd.png"},
		DiscCase{"svcd", "D:", LIST_SVCD, "", "QUELT: (S)SVCD Drive -D:", "svcd://D:@1:01-", "svcd://D:@1:20-",
			"vcd.png"},
		DiscCase{"lowerCaseDrive", "d:", LIST_DVD, "", "QUELT: DVD Drive -d:", "dvdsimple://d:@1:01-",
			"dvdsimple://d:@1:20-", "dvd.png"},
		// The drive is compared upper-cased, so "/media" in lower case matches only
		// when the path names a floppy and the drive keeps its case.
		DiscCase{"mediaDrive", "/media/cdrom", LIST_VCD, "", "QUELT: (S)VCD Drive -/media/cdrom",
			"vcd:///media/cdrom@1:01-", "vcd:///media/cdrom@1:20-", "vcd.png"},
		DiscCase{"mediaDriveAfterAFloppyPath", "/media/cdrom", LIST_DVD, "a:", "QUELT: DVD Drive -/media/cdrom",
			"dvdsimple:////media/cdrom@1:01-", "dvdsimple:////media/cdrom@1:20-", "dvd.png"}),
	[](const ::testing::TestParamInfo<DiscCase> &info) { return eString(info.param.name); });

TEST_F(ListingTest, DiscChaptersWithoutADiscSetupHaveNoPicture)
{
	writeBrowserSettings("D:", false);
	auto window = openWindow();
	window->loadList(LIST_DVD, "");
	ASSERT_EQ(20u, window->playList.size());
	EXPECT_EQ("", window->playList[0].picture);
}

struct GuardCase
{
	const char *name;
	int mode;
	const char *path;
	bool listed;
};

class DriveGuardTest : public BrowserTest, public ::testing::WithParamInterface<GuardCase>
{
};

TEST_P(DriveGuardTest, FloppiesAndTheDiscDriveAreNotBrowsedAsFiles)
{
	const GuardCase &c = GetParam();
	auto window = openWindow();
	eConfig::getInstance()->setKey(configkey::lastmode, 5);
	vlc.clearRequests();
	std::vector<eString> before = rows(*window);

	window->loadList(c.mode, c.path);

	if (c.listed)
		EXPECT_EQ(c.mode, intKey(configkey::lastmode, -1));
	else
	{
		EXPECT_TRUE(vlc.targets().empty());
		EXPECT_EQ("File: /media/films", window->getText());
		EXPECT_EQ(before, rows(*window));
		EXPECT_EQ(5, intKey(configkey::lastmode, -1));
	}
}

INSTANTIATE_TEST_SUITE_P(Paths, DriveGuardTest,
	::testing::Values(GuardCase{"discDriveLowerCase", LIST_FILE, "d:\\films", false},
		GuardCase{"discDrive", LIST_FILE, "D:", false}, GuardCase{"floppyA", LIST_FILE, "a:\\", false},
		GuardCase{"floppyB", LIST_FILE, "B:", false}, GuardCase{"otherDrive", LIST_FILE, "E:\\films", true},
		GuardCase{"discModeOnTheDrive", LIST_DVD, "d:", true}, GuardCase{"discModeOnAFloppy", LIST_VCD, "A:", true}),
	[](const ::testing::TestParamInfo<GuardCase> &info) { return eString(info.param.name); });

TEST_F(ListingTest, AnUnknownModeListsNothingButIsStored)
{
	auto window = openWindow();
	vlc.clearRequests();
	window->loadList(7, "/media/films");
	EXPECT_TRUE(vlc.targets().empty());
	EXPECT_TRUE(window->playList.empty());
	EXPECT_TRUE(rows(*window).empty());
	EXPECT_EQ("File: /media/films", window->getText());
	EXPECT_EQ(7, intKey(configkey::lastmode, -1));
}

// -- What VLC's answers may hold: sizes, broken elements, odd bytes, great length.

TEST_F(ListingTest, SizesAreLeadingDecimalDigitsInWholeMebibytes)
{
	struct SizeCase
	{
		const char *attribute; // null: no size attribute
		int sizeMB;
	};
	const SizeCase cases[] = {
		{"0", 0},
		{"1048575", 0},
		{"1048576", 1},
		{"734003200", 700},
		{"4294967296000", 4096000},
		{"2251799813685248000", 2147483647}, // more MiB than an int holds
		{"99999999999999999999999999999", 2147483647},
		{"12abc", 0},
		{"5242880kB", 5},
		{" 2097152", 2},
		{"abc", 0},
		{"", 0},
		{"-1048576", 0},
		{"0x100000", 0},
		{nullptr, 0},
	};
	eString xml = "<root>\n<element type=\"directory\" name=\"..\" path=\"/s/..\"/>\n";
	for (size_t i = 0; i < std::size(cases); ++i)
	{
		eString size = cases[i].attribute ? eString::format(" size=\"%s\"", cases[i].attribute) : eString();
		xml += eString::format("<element type=\"file\" name=\"s%02zu.avi\" path=\"/s/s%02zu.avi\"%s/>\n", i, i, size.c_str());
	}
	vlc.setBrowse("/s", xml + "</root>\n");
	auto window = openWindow();

	window->loadList(LIST_FILE, "/s");

	ASSERT_EQ(std::size(cases) + 1, window->playList.size());
	for (size_t i = 0; i < std::size(cases); ++i)
		EXPECT_EQ(cases[i].sizeMB, window->playList[i + 1].sizeMB)
			<< "size " << (cases[i].attribute ? cases[i].attribute : "(none)");
}

enum class Outcome
{
	placeholders, // the connection is lost
	fallback,     // the start directory is listed instead
	emptyList,    // the connection holds, nothing is listed
	listed,       // entries as expected
};

struct BadInputCase
{
	const char *name;
	std::function<void(VlcDouble &)> arrange;
	Outcome outcome;
	std::vector<eString> rows; // for Outcome::listed
	size_t requests;
	const char *printed = ""; // the start of what goes to standard output
};

class BadInputTest : public BrowserTest, public ::testing::WithParamInterface<BadInputCase>
{
};

TEST_P(BadInputTest, GetsItsReaction)
{
	const BadInputCase &c = GetParam();
	auto window = openWindow();
	vlc.clearRequests();
	c.arrange(vlc);

	::testing::internal::CaptureStdout();
	window->loadList(LIST_FILE, "/media/films/bad");
	eString printed = ::testing::internal::GetCapturedStdout();

	EXPECT_EQ(c.requests, vlc.targets().size());
	EXPECT_EQ(c.printed, printed.left(strlen(c.printed)));
	switch (c.outcome)
	{
	case Outcome::placeholders:
		EXPECT_FALSE(CONNECTION);
		EXPECT_EQ(noConnectionTitle(), window->getText());
		EXPECT_EQ(placeholderRows(), rows(*window));
		break;
	case Outcome::fallback:
		EXPECT_TRUE(CONNECTION);
		EXPECT_EQ("/media/films", window->getText());
		EXPECT_EQ(std::vector<eString>{""}, rows(*window));
		break;
	case Outcome::emptyList:
		EXPECT_TRUE(CONNECTION);
		EXPECT_EQ("File: /media/films/bad", window->getText());
		EXPECT_TRUE(rows(*window).empty());
		break;
	case Outcome::listed:
		EXPECT_TRUE(CONNECTION);
		EXPECT_EQ("File: /media/films/bad", window->getText());
		EXPECT_EQ(c.rows, rows(*window));
		break;
	}
	EXPECT_EQ(LIST_FILE, intKey(configkey::lastmode, -1));

	// The window's close-down talks to VLC too.
	vlc.setFailure(VlcDouble::Failure::none);
	vlc.setStatusCode(0);
}

eString allBytes(int from)
{
	eString out;
	for (int b = from; b < 256; ++b)
		out += char(b);
	return out;
}

void answerBad(VlcDouble &vlc, const eString &xml)
{
	vlc.setBrowse("/media/films/bad", xml);
}

INSTANTIATE_TEST_SUITE_P(Answers, BadInputTest,
	::testing::Values(BadInputCase{"absent", [](VlcDouble &) { send_parms[1] = eString::format("%d", closedPort()); },
						  Outcome::placeholders, {}, 0},
		BadInputCase{"refused400", [](VlcDouble &v) { v.setStatusCode(400); }, Outcome::placeholders, {}, 1},
		BadInputCase{"refused401", [](VlcDouble &v) { v.setStatusCode(401); }, Outcome::placeholders, {}, 1},
		BadInputCase{"refused500", [](VlcDouble &v) { v.setStatusCode(500); }, Outcome::placeholders, {}, 1},
		BadInputCase{"closedAtOnce", [](VlcDouble &v) { v.setFailure(VlcDouble::Failure::refuse); },
			Outcome::placeholders, {}, 0},
		BadInputCase{"garbage", [](VlcDouble &v) { v.setFailure(VlcDouble::Failure::garbage); },
			Outcome::placeholders, {}, 1},
		BadInputCase{"pastTheTimeout", [](VlcDouble &v) { v.setFailure(VlcDouble::Failure::stall); },
			Outcome::placeholders, {}, 1},
		BadInputCase{"errorPage", [](VlcDouble &) {}, Outcome::fallback, {}, 2},
		BadInputCase{"noElements", [](VlcDouble &v) { answerBad(v, "<root></root>"); }, Outcome::fallback, {}, 2},
		BadInputCase{"notXml",
			[](VlcDouble &v) { answerBad(v, "this is <element type= no XML"); }, Outcome::emptyList, {}, 1,
			"Error parsing \"VLC Answer\": syntax error at line 1"},
		BadInputCase{"noRoot", [](VlcDouble &v) { answerBad(v, "<?xml version=\"1.0\"?><!-- <element type= -->"); },
			Outcome::emptyList, {}, 1, "Error: No Root Node\n"},
		BadInputCase{"elementsWithoutAttributes",
			[](VlcDouble &v) {
				answerBad(v, "<root><element/><element type=\"directory\"/><element type=\"file\"/>"
							 "<element type=\"link\" name=\"l\"/><element name=\"n.avi\"/><other/></root>");
			},
			Outcome::listed, {""}, 1},
		BadInputCase{"rawNamesOfEveryByte",
			[](VlcDouble &v) {
				answerBad(v, VlcDouble::browseXml({{"directory", "..", "/media/films/bad/..", 0},
								 {"file", allBytes(1) + ".avi", "/media/films/bad/x.avi", 0}}));
			},
			Outcome::emptyList, {}, 1, "Error parsing \"VLC Answer\": "},
		BadInputCase{"escapedNamesOfEveryByte",
			[](VlcDouble &v) {
				eString escaped;
				for (unsigned char b : allBytes(0))
					escaped += eString::format("%%%02x", b);
				answerBad(v, VlcDouble::browseXml({{"directory", "..", "/media/films/bad/..", 0},
								 {"file", escaped + ".avi", "/media/films/bad/x.avi", 0}}));
			},
			Outcome::emptyList, {}, 1, "Error parsing \"VLC Answer\": "},
		BadInputCase{"escapedNamesOfEveryHarmlessByte",
			[](VlcDouble &v) {
				// Every byte that XML can carry in an attribute, escaped by VLC.
				eString escaped;
				for (unsigned char b : allBytes(0x20))
					if (b != '<' && b != '&' && b != '"' && b < 0x80)
						escaped += eString::format("%%%02x", b);
				answerBad(v, VlcDouble::browseXml({{"directory", "..", "/media/films/bad/..", 0},
								 {"directory", escaped, "/media/films/bad/x", 0}}));
			},
			Outcome::listed,
			{"",
				" !#$%'()*+,-./0123456789:;=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\\\]^_`abcdefghijklmnopqrstuvwxyz{|}~\x7f"},
			1},
		BadInputCase{"tenMegabytes",
			[](VlcDouble &v) {
				eString padding(10 * 1024 * 1024, 'x');
				answerBad(v, "<root>\n<element type=\"directory\" name=\"..\" path=\"/media/films/bad/..\"/>\n"
							 "<element type=\"file\" name=\"big.avi\" path=\"/media/films/bad/big.avi\" size=\"1\"/>\n"
							 "<pad>" + padding + "</pad>\n</root>\n");
			},
			Outcome::listed, {"", "big.avi"}, 1}),
	[](const ::testing::TestParamInfo<BadInputCase> &info) { return eString(info.param.name); });
} // namespace
