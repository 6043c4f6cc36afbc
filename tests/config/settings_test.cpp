#include <gtest/gtest.h>

#include <optional>

#include "config/configkeys.h"
#include "config/equeltconfig.h"
#include "host/econfig.h"
#include "support/hostfixture.h"

namespace
{
const char *const settingsPath = "/var/tuxbox/config/quelt.xml";

eString document(const eString &children)
{
	return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<vlc>\n" + children + "</vlc>\n";
}

eString server(const char *name, const char *ip, const char *webif = "8080", const char *stream = "8081")
{
	return eString::format("<server name=\"%s\" ip=\"%s\" webif-port=\"%s\" stream-port=\"%s\" user=\"u\" pass=\"p\"/>\n",
		name, ip, webif, stream);
}

// A complete setup; extra attributes follow the required ones.
eString setup(const char *name, const char *ext, const eString &extra = eString())
{
	return eString::format("<setup name=\"%s\" ext=\"%s\" Videorate=\"2048\" Videotranscode=\"1\" Videocodec=\"mp2v\" "
						   "Videosize=\"720x576\" Audiorate=\"128\" Audiotranscode=\"1\" fps=\"25\" %s/>\n",
		name, ext, extra.c_str());
}

class SettingsTest : public ::testing::Test
{
protected:
	void write(const eString &text) { host.writeFile(settingsPath, text); }
	void setCheckset(int n) { eConfig::getInstance()->setKey(configkey::checkset, n); }

	HostFixture host;
	eQUELTConfig store;
};

TEST_F(SettingsTest, BeforeAnyLoadNoServerIsConfigured)
{
	serverConfig_stream s = store.getServerConfig();
	EXPECT_EQ(s.missingSet, -1);
	EXPECT_EQ(s.ip, "");
	EXPECT_EQ(s.startdir, "");

	// A missing file leaves that state as it is.
	EXPECT_FALSE(store.load());
	EXPECT_EQ(store.getServerConfig().missingSet, -1);
}

struct ServerCase
{
	const char *what;
	std::optional<int> checkset; // the stored key, or none
	const char *body;
	bool loaded;
	// The server set afterwards.
	const char *ip, *webifPort, *streamPort, *user, *pass, *startdir, *cddrive;
	int missingSet;
};

TEST_F(SettingsTest, ServerSetSelection)
{
	const ServerCase cases[] = {
		{"key absent selects set 1", std::nullopt,
			"<server name=\"set1\" ip=\"10.0.0.1\" webif-port=\"8080\" stream-port=\"8081\" user=\"u\" pass=\"p\"/>", true,
			"10.0.0.1", "8080", "8081", "u", "p", "", "", 0},
		{"checkset 2 takes set2", 2,
			"<server name=\"set1\" ip=\"10.0.0.1\" webif-port=\"1\" stream-port=\"2\"/>"
			"<server name=\"set2\" ip=\"10.0.0.2\" webif-port=\"3\" stream-port=\"4\" user=\"x\" pass=\"y\"/>"
			"<config name=\"set1\" startdir=\"/one\" cddrive=\"E:\"/><config name=\"set2\" startdir=\"/two\" cddrive=\"D:\"/>",
			true, "10.0.0.2", "3", "4", "x", "y", "/two", "D:", 0},
		{"a second element of the set overwrites the first", 1,
			"<server name=\"set1\" ip=\"10.0.0.1\" webif-port=\"1\" stream-port=\"2\" user=\"a\" pass=\"b\"/>"
			"<config name=\"set1\" startdir=\"/first\" cddrive=\"E:\"/>"
			"<server name=\"set1\" ip=\"10.0.0.9\" webif-port=\"9\"/>"
			"<config name=\"set1\" startdir=\"/second\"/>",
			true, "10.0.0.9", "9", "", "", "", "/second", "", 0},
		{"no element for the active set", 3, "<server name=\"set1\" ip=\"10.0.0.1\"/><server name=\"set2\" ip=\"10.0.0.2\"/>",
			false, "", "", "", "", "", "", "", 3},
		{"an empty address", 1, "<server name=\"set1\" ip=\"\" webif-port=\"8080\"/>", false, "", "8080", "", "", "", "", "",
			1},
		{"names compare exactly", 1, "<server name=\"Set1\" ip=\"10.0.0.1\"/><server name=\"set1 \" ip=\"10.0.0.2\"/>",
			false, "", "", "", "", "", "", "", 1},
		{"an element without a name", 1, "<server ip=\"10.0.0.1\"/>", false, "", "", "", "", "", "", "", 1},
		{"checkset 0", 0, "<server name=\"set0\" ip=\"10.0.0.1\"/>", false, "", "", "", "", "", "", "", 0},
		{"checkset 5", 5, "<server name=\"set5\" ip=\"10.0.0.1\"/>", false, "", "", "", "", "", "", "", 5},
		{"only direct children of the root count", 1,
			"<group><server name=\"set1\" ip=\"10.0.0.1\"/></group><other name=\"set1\" ip=\"10.0.0.2\"/>text", false,
			"", "", "", "", "", "", "", 1},
		{"Latin-1 bytes stay single bytes", 1,
			"<server name=\"set1\" ip=\"10.0.0.1\"/><config name=\"set1\" startdir=\"/Filme/M\xe4rz\"/>", true,
			"10.0.0.1", "", "", "", "", "/Filme/M\xe4rz", "", 0},
	};
	for (const ServerCase &c : cases)
	{
		SCOPED_TRACE(c.what);
		eQUELTConfig fresh;
		eConfig::getInstance()->delKey(configkey::checkset);
		if (c.checkset)
			setCheckset(*c.checkset);
		write(document(c.body));
		host.clearLog();

		EXPECT_EQ(fresh.load(), c.loaded);
		serverConfig_stream s = fresh.getServerConfig();
		EXPECT_EQ(s.ip, c.ip);
		EXPECT_EQ(s.webifPort, c.webifPort);
		EXPECT_EQ(s.streamPort, c.streamPort);
		EXPECT_EQ(s.user, c.user);
		EXPECT_EQ(s.pass, c.pass);
		EXPECT_EQ(s.startdir, c.startdir);
		EXPECT_EQ(s.cddrive, c.cddrive);
		EXPECT_EQ(s.missingSet, c.missingSet);
		EXPECT_EQ(host.logCount(eString::format("[quelt] parse error in settings file. server set number %d", c.missingSet)),
			c.loaded ? 0u : 1u);
	}
}

TEST_F(SettingsTest, EveryConfigElementLogsTheStartDirectoryAsItStands)
{
	write(document(server("set1", "10.0.0.1") + "<config name=\"set2\" startdir=\"/other\"/>\n"
											   "<config name=\"set1\" startdir=\"/films\"/>\n<config/>\n"));
	EXPECT_TRUE(store.load());
	std::vector<eString> startdirs;
	for (const eString &line : host.logLines())
		if (line.find("[quelt]: startdir") == 0)
			startdirs.push_back(line);
	EXPECT_EQ(startdirs, (std::vector<eString>{"[quelt]: startdir ", "[quelt]: startdir /films", "[quelt]: startdir /films"}));
}

TEST_F(SettingsTest, SetupIsReadWithItsTranscodeFlags)
{
	const struct
	{
		const char *value;
		bool flag;
	} flags[] = {{"1", true}, {"0", false}, {"true", false}, {"yes", false}, {"01", false}, {" 1", false}, {"1 ", false}};
	for (const auto &f : flags)
	{
		SCOPED_TRACE(f.value);
		write(document(server("set1", "10.0.0.1") +
			eString::format("<setup name=\"File\" pic=\"avi.png\" ext=\"AVI\" Videorate=\"2048\" Videotranscode=\"%s\" "
							"Videocodec=\"mp2v\" Videosize=\"720x576\" Audiorate=\"128\" Audiotranscode=\"1\" fps=\"30\" "
							"soutadd=\"deinterlace\"/>\n"
							"<setup name=\"File\" ext=\"MP3\" Videorate=\"1\" Videotranscode=\"1\" Videocodec=\"c\" "
							"Videosize=\"1x1\" Audiorate=\"64\" Audiotranscode=\"%s\" fps=\"1\"/>\n",
				f.value, f.value)));
		ASSERT_TRUE(store.load());

		videoTypeParms_stream avi = store.getVideoParms("File", "avi");
		EXPECT_EQ(avi.name, "File");
		EXPECT_EQ(avi.pic, "avi.png");
		EXPECT_EQ(avi.ext, "AVI");
		EXPECT_EQ(avi.videorate, "2048");
		EXPECT_EQ(avi.audiorate, "128");
		EXPECT_EQ(avi.videocodec, "mp2v");
		EXPECT_EQ(avi.videosize, "720x576");
		EXPECT_EQ(avi.videotranscode, f.flag);
		EXPECT_TRUE(avi.audiotranscode);
		EXPECT_EQ(avi.fps, "30");
		EXPECT_EQ(avi.soutadd, "deinterlace");

		// pic and soutadd are optional.
		videoTypeParms_stream mp3 = store.getVideoParms("File", "mp3");
		EXPECT_EQ(mp3.name, "File");
		EXPECT_EQ(mp3.pic, "");
		EXPECT_EQ(mp3.soutadd, "");
		EXPECT_TRUE(mp3.videotranscode);
		EXPECT_EQ(mp3.audiotranscode, f.flag);
	}
}

TEST_F(SettingsTest, ASetupLackingARequiredAttributeEndsTheWalk)
{
	const char *required[] = {"name", "ext", "Videorate", "Videotranscode", "Videocodec", "Videosize", "Audiorate",
		"Audiotranscode", "fps"};
	for (const char *attribute : required)
	{
		for (bool absent : {true, false})
		{
			SCOPED_TRACE(eString::format("%s %s", attribute, absent ? "absent" : "empty"));
			// The broken setup, made from a complete one.
			eString broken = setup("File", "MKV");
			size_t at = broken.find(eString(" ") + attribute + "=\"");
			ASSERT_NE(at, eString::npos);
			size_t valueEnd = broken.find('"', broken.find('"', at) + 1);
			if (absent)
				broken.erase(at, valueEnd + 1 - at);
			else
				broken.erase(broken.find('"', at) + 1, valueEnd - broken.find('"', at) - 1);

			eQUELTConfig fresh;
			write(document(setup("File", "AVI") + broken + server("set1", "10.0.0.1") + setup("File", "MPG")));
			host.clearLog();
			EXPECT_FALSE(fresh.load());
			EXPECT_EQ(host.logCount("[quelt] parse error in settings file"), 1u);
			EXPECT_EQ(fresh.getVideoParms("File", "AVI").name, "File");
			EXPECT_EQ(fresh.getVideoParms("File", "MKV").name, "default");
			EXPECT_EQ(fresh.getVideoParms("File", "MPG").name, "default");
			// The server element after it was never read, and the set is not marked missing.
			EXPECT_EQ(fresh.getServerConfig().ip, "");
			EXPECT_EQ(fresh.getServerConfig().missingSet, -1);
		}
	}
}

TEST_F(SettingsTest, LookupTakesTheFirstExactMatch)
{
	write(document(server("set1", "10.0.0.1") + setup("File", "avi", "pic=\"lower.png\"") +
		setup("File", "AVI", "pic=\"first.png\"") + setup("File", "AVI", "pic=\"second.png\"") +
		setup("file", "MKV", "pic=\"lowername.png\"") + setup("DVD", "NONE", "pic=\"dvd.png\"")));
	ASSERT_TRUE(store.load());

	const struct
	{
		const char *name, *ext, *foundName, *pic, *resultExt;
	} lookups[] = {
		{"File", "avi", "File", "first.png", "AVI"},
		{"File", "AVI", "File", "first.png", "AVI"},
		{"File", "aVi", "File", "first.png", "AVI"},
		{"File", "mkv", "default", "", "MKV"}, // the setup's category is "file"
		{"DVD", "NONE", "DVD", "dvd.png", "NONE"},
		{"DVD", "none", "DVD", "dvd.png", "NONE"},
		{"VCD", "NONE", "default", "", "NONE"},
		{"File", "", "default", "", ""},
	};
	for (const auto &l : lookups)
	{
		SCOPED_TRACE(eString::format("%s/%s", l.name, l.ext));
		videoTypeParms_stream p = store.getVideoParms(l.name, l.ext);
		EXPECT_EQ(p.name, l.foundName);
		EXPECT_EQ(p.pic, l.pic);
		EXPECT_EQ(p.ext, l.resultExt);
	}
}

TEST_F(SettingsTest, NoSetupGivesTheDefaults)
{
	videoTypeParms_stream p = store.getVideoParms("DVD", "NONE");
	EXPECT_EQ(p.name, "default");
	EXPECT_EQ(p.pic, "");
	EXPECT_EQ(p.ext, "NONE");
	EXPECT_EQ(p.videorate, "1024");
	EXPECT_EQ(p.audiorate, "192");
	EXPECT_EQ(p.videocodec, "mpeg2");
	EXPECT_EQ(p.videosize, "704x576");
	EXPECT_FALSE(p.videotranscode);
	EXPECT_FALSE(p.audiotranscode);
	EXPECT_EQ(p.fps, "25");
	EXPECT_EQ(p.soutadd, "");
}

TEST_F(SettingsTest, CodecElementIsTakenWhateverItsName)
{
	write(document(server("set1", "10.0.0.1") + "<codec name=\"set4\" mpeg1=\"mp1v\" mpeg2=\"mp2v\" audio=\"mpga\"/>\n"));
	ASSERT_TRUE(store.load());
	codecs_stream c = store.getCodecs();
	EXPECT_EQ(c.mpeg1, "mp1v");
	EXPECT_EQ(c.mpeg2, "mp2v");
	EXPECT_EQ(c.audio, "mpga");
}

TEST_F(SettingsTest, AMissingFileKeepsWhatTheLastLoadRead)
{
	write(document(server("set1", "10.0.0.1") + "<config name=\"set1\" startdir=\"/films\"/>\n" + setup("File", "AVI")));
	ASSERT_TRUE(store.load());
	host.removeFile(settingsPath);

	EXPECT_FALSE(store.load());
	EXPECT_EQ(store.getServerConfig().ip, "10.0.0.1");
	EXPECT_EQ(store.getServerConfig().startdir, "/films");
	EXPECT_EQ(store.getServerConfig().missingSet, 0);
	EXPECT_EQ(store.getVideoParms("File", "AVI").name, "File");

	// Once the file is back, its values replace the old ones.
	write(document(server("set1", "10.0.0.2") + setup("File", "MKV")));
	EXPECT_TRUE(store.load());
	EXPECT_EQ(store.getServerConfig().ip, "10.0.0.2");
	EXPECT_EQ(store.getServerConfig().startdir, "/films"); // no config element this time
	EXPECT_EQ(store.getVideoParms("File", "AVI").name, "default");
	EXPECT_EQ(store.getVideoParms("File", "MKV").name, "File");
}

TEST_F(SettingsTest, AnAddressFromAnEarlierLoadOutlivesASetWithoutElements)
{
	write(document(server("set1", "10.0.0.1")));
	ASSERT_TRUE(store.load());
	for (int n : {3, 0, 7})
	{
		SCOPED_TRACE(n);
		setCheckset(n);
		EXPECT_TRUE(store.load());
		EXPECT_EQ(store.getServerConfig().ip, "10.0.0.1");
		EXPECT_EQ(store.getServerConfig().missingSet, 0);
	}
}

TEST_F(SettingsTest, TextThatIsNotAWellFormedDocumentEmptiesOnlyTheSetups)
{
	const char *bodies[] = {
		"",
		"just some words",
		"<vlc><server name=\"set1\" ip=\"10.0.0.9\"/>",
		"<vlc></vlx>",
		"<vlc/><vlc/>",
		"\x89PNG\r\n\x1a\n\x00\x00",
	};
	for (const char *body : bodies)
	{
		SCOPED_TRACE(body);
		write(document(server("set1", "10.0.0.1") + setup("File", "AVI")));
		ASSERT_TRUE(store.load());
		write(body);
		host.clearLog();

		EXPECT_FALSE(store.load());
		EXPECT_EQ(store.getVideoParms("File", "AVI").name, "default");
		EXPECT_EQ(store.getServerConfig().ip, "10.0.0.1");
		EXPECT_EQ(store.getServerConfig().missingSet, 0);
		EXPECT_FALSE(host.logContains("[quelt] parse error"));
	}
}

TEST_F(SettingsTest, VeryLongAttributeValuesAreKeptWhole)
{
	// Each spans several pieces of the file.
	eString longDir(20000, 'd');
	eString longAdd(10000, 'a');
	write(document(server("set1", "10.0.0.1") + "<config name=\"set1\" startdir=\"/" + longDir + "\"/>\n" +
		setup("File", "AVI", "soutadd=\"" + longAdd + "\"")));
	ASSERT_TRUE(store.load());
	EXPECT_EQ(store.getServerConfig().startdir, "/" + longDir);
	EXPECT_EQ(store.getVideoParms("File", "AVI").soutadd, longAdd);
}

TEST_F(SettingsTest, FilesOfAnyLengthAreReadWhole)
{
	// Around and on the piece boundaries, and many pieces long.
	for (size_t length : {2047u, 2048u, 2049u, 4096u, 6144u + 7, 40000u})
	{
		SCOPED_TRACE(length);
		eString children = setup("File", "AVI");
		eString tail = server("set1", "10.0.0.1") + setup("File", "LAST");
		eString text = document(children + "<!--" + "-->" + tail);
		ASSERT_LT(text.size(), length);
		eString padding(length - text.size(), 'x');
		text = document(children + "<!--" + padding + "-->" + tail);
		ASSERT_EQ(text.size(), length);
		write(text);

		eQUELTConfig fresh;
		EXPECT_TRUE(fresh.load());
		EXPECT_EQ(fresh.getServerConfig().ip, "10.0.0.1");
		EXPECT_EQ(fresh.getVideoParms("File", "AVI").name, "File");
		EXPECT_EQ(fresh.getVideoParms("File", "LAST").name, "File");
	}
}

TEST(BoxRootSettings, ServeALoopbackVlcAndTheUsualTypes)
{
	HostFixture box(HostFixture::Root::copyOfBoxRoot);
	eQUELTConfig fresh;
	ASSERT_TRUE(fresh.load());
	serverConfig_stream s = fresh.getServerConfig();
	EXPECT_EQ(s.ip, "127.0.0.1");
	EXPECT_EQ(s.webifPort, "8080");
	EXPECT_EQ(s.streamPort, "8081");
	EXPECT_EQ(s.user, "");
	EXPECT_EQ(s.pass, "quelt");
	EXPECT_EQ(s.startdir, "/tmp/quelt-media");
	EXPECT_EQ(s.cddrive, "D:");
	for (const char *ext : {"MPG", "MPEG", "AVI", "MP4", "MKV", "MOV", "TS", "VOB", "WMV", "FLV", "MP3", "OGG", "WAV", "WMA"})
	{
		SCOPED_TRACE(ext);
		videoTypeParms_stream p = fresh.getVideoParms("File", ext);
		EXPECT_EQ(p.name, "File");
		EXPECT_EQ(p.pic, eString(ext).lower() + ".png");
	}
	EXPECT_EQ(fresh.getVideoParms("DVD", "NONE").name, "DVD");
	EXPECT_EQ(fresh.getVideoParms("VCD", "NONE").name, "VCD");
}
} // namespace
