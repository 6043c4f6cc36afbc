// The two dialects of VLC's web interface, checked against answers that a real
// VLC 3 gave (tests/fixtures/vlc3) and against the classic double, and how the
// plug-in finds out which one it talks to.

#include <gtest/gtest.h>

#include <memory>

#include "config/equeltconfig.h"
#include "host/xmltree.h"
#include "infobar/vlcstatus.h"
#include "support/testfiles.h"
#include "support/hostfixture.h"
#include "support/vlcdouble.h"
#include "vlc/basicauth.h"
#include "vlc/parsexml.h"
#include "vlc/vlcdialect.h"

namespace
{
eString vlc3Answer(const char *name)
{
	eString text = readSourceFile(eString("tests/fixtures/vlc3/") + name);
	EXPECT_FALSE(text.empty()) << name << " not found; run through ctest";
	return text;
}

class DialectTest : public ::testing::Test
{
protected:
	void TearDown() override { setActiveVlcDialect(classicDialect()); }
};

TEST(Base64, EncodesWithPadding)
{
	const std::pair<const char *, const char *> cases[] = {
		{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {":secret", "OnNlY3JldA=="},
		{"alice:secret", "YWxpY2U6c2VjcmV0"}};
	for (const auto &[text, encoded] : cases)
		EXPECT_EQ(encoded, base64Encode(text)) << text;
	// Bytes above 127 are bytes, not signed characters.
	EXPECT_EQ("/+8=", base64Encode("\xff\xef"));
	EXPECT_EQ("Authorization: Basic OnNlY3JldA==\r\n", basicAuthorizationHeader(":secret"));
}

TEST_F(DialectTest, ListingsOfEachGenerationAreRecognisedOnlyByTheirOwnDialect)
{
	eString luaListing = vlc3Answer("browse-dir.xml");
	eString luaError = vlc3Answer("browse-missing.html");
	eString classicListing = VlcDouble::browseXml({{"directory", "..", "/films/..", 0}});
	eString classicError = "<html><head><title>Error 404</title></head><body><element type=\"file\"/></body></html>";

	EXPECT_TRUE(luaDialect().validListing(luaListing));
	EXPECT_FALSE(luaDialect().validListing(luaError));
	EXPECT_FALSE(luaDialect().validListing("<root>\n</root>\n")) << "an answer without entries";
	// VLC 3 writes its attributes in another order, so the classic test never
	// finds a listing in its answers.
	EXPECT_FALSE(classicDialect().validListing(luaListing));
	EXPECT_TRUE(classicDialect().validListing(classicListing));
	EXPECT_FALSE(classicDialect().validListing(classicError));

	EXPECT_EQ(VlcDialect::EntryKind::directory, luaDialect().entryKind("dir"));
	EXPECT_EQ(VlcDialect::EntryKind::file, luaDialect().entryKind("file"));
	EXPECT_EQ(VlcDialect::EntryKind::other, luaDialect().entryKind("directory"));
	EXPECT_EQ(VlcDialect::EntryKind::directory, classicDialect().entryKind("directory"));
	EXPECT_EQ(VlcDialect::EntryKind::other, classicDialect().entryKind("dir"));
}

TEST_F(DialectTest, PlayRequestsCarryTheOutputChainAsEachGenerationReadsIt)
{
	const eString chain = "#transcode{vcodec=mpeg2,vb=1024,acodec=mpga,ab=192,channels=2,audio-sync}:"
						  "std{access=http,mux=ts,dst=:8081/dboxstream}";
	EXPECT_EQ("requests/status.xml?command=in_play&input=%2ffilm%2eavi%20%3Asout%3D" + chain,
		classicDialect().playRequest("%2ffilm%2eavi", chain));
	// Every "=" inside the option escaped: VLC 3 cuts the value at the first one.
	EXPECT_EQ("requests/status.xml?command=in_play&input=%2ffilm%2eavi&option=:sout%3D%23transcode{vcodec%3Dmpeg2,"
			  "vb%3D1024,acodec%3Dmpga,ab%3D192,channels%3D2,audio-sync}:std{access%3Dhttp,mux%3Dts,dst%3D:8081/"
			  "dboxstream}",
		luaDialect().playRequest("%2ffilm%2eavi", chain));
	// Whatever the settings add to the chain stays inside the option.
	EXPECT_EQ("requests/status.xml?command=in_play&input=x&option=:sout%3D%23transcode{a%3Db%26c%20d%2Be%25}",
		luaDialect().playRequest("x", "#transcode{a=b&c d+e%}"));
}

TEST_F(DialectTest, PositionIsPercentInTheClassicAndAFractionInLua)
{
	struct Case
	{
		const char *text;
		int classic;
		int lua;
	};
	const Case cases[] = {{"0.23878535628319", 0, 23}, {"57", 57, 100}, {"1", 1, 100}, {"0", 0, 0},
		{"0.999", 0, 99}, {"-0.5", 0, 0}, {"nan", 0, 0}, {"1e308", 1, 100}, {"", 0, 0}, {"x", 0, 0}};
	for (const Case &c : cases)
	{
		EXPECT_EQ(c.classic, classicDialect().positionPercent(c.text)) << c.text;
		EXPECT_EQ(c.lua, luaDialect().positionPercent(c.text)) << c.text;
	}
	EXPECT_EQ(0, luaDialect().positionPercent(nullptr));
	EXPECT_EQ(0, classicDialect().positionPercent(nullptr));
}

TEST_F(DialectTest, TheStatusOfVlc3IsReadThroughTheLuaDialect)
{
	eString answer = vlc3Answer("status-playing.xml");
	std::unique_ptr<XMLTreeParser> tree(parseXml(answer.c_str()));
	ASSERT_TRUE(tree);

	setActiveVlcDialect(luaDialect());
	VlcStatus status;
	status.read(tree->RootNode());
	EXPECT_EQ(4, status.time);
	EXPECT_EQ(20, status.length);
	EXPECT_EQ(23, status.position);
	EXPECT_EQ("mp4v", status.codec) << "the fourcc, as the classic interface gives it";
	EXPECT_EQ("320x240", status.pictureSize);

	// Read as classic, the picture size is not found under its German name.
	setActiveVlcDialect(classicDialect());
	VlcStatus classic;
	classic.read(tree->RootNode());
	EXPECT_EQ(0, classic.position);
	EXPECT_EQ("unknown", classic.pictureSize);
}

TEST_F(DialectTest, Vlc3sCodecDescriptionIsShortenedToItsFourcc)
{
	const std::pair<const char *, const char *> cases[] = {{"MPEG-4 Video (mp4v)", "mp4v"},
		{"MPEG Audio layer 3 (mp3 )", "mp3"}, {"mpgv", "mpgv"}, {"odd (x) name", "odd (x) name"}, {"()", "()"},
		{"", ""}};
	for (const auto &[codec, shown] : cases)
		EXPECT_EQ(shown, luaDialect().codecName(codec)) << codec;
	EXPECT_EQ("MPEG-4 Video (mp4v)", classicDialect().codecName("MPEG-4 Video (mp4v)"));
	EXPECT_EQ("", luaDialect().codecName(nullptr));
}

TEST_F(DialectTest, CommandAnswersAndCredentialsOfTheRawRequests)
{
	eString accepted = vlc3Answer("raw-command-answer.txt");
	eString refused = vlc3Answer("raw-command-no-auth.txt");
	EXPECT_TRUE(luaDialect().commandSucceeded(accepted.c_str()));
	EXPECT_FALSE(luaDialect().commandSucceeded(refused.c_str()));
	EXPECT_TRUE(luaDialect().commandSucceeded("HTTP/1.0 200 OK\r\n"));
	EXPECT_FALSE(classicDialect().commandSucceeded(accepted.c_str()));
	EXPECT_TRUE(classicDialect().commandSucceeded("HTTP/1.0 200 OK\r\n"));

	EXPECT_EQ("Authorization: Basic OnNlY3JldA==\r\n", luaDialect().rawRequestHeaders(":secret"));
	EXPECT_EQ("", luaDialect().rawRequestHeaders(""));
	EXPECT_EQ("", classicDialect().rawRequestHeaders("alice:secret"));
}

TEST(Credentials, APasswordIsAlwaysSentAUserNameAloneNever)
{
	const struct
	{
		const char *user, *pass, *credentials;
	} cases[] = {{"alice", "secret", "alice:secret"}, {"", "secret", ":secret"}, {"alice", "", ""}, {"", "", ""}};
	for (const auto &c : cases)
	{
		serverConfig_stream server;
		server.user = c.user;
		server.pass = c.pass;
		EXPECT_EQ(c.credentials, vlcCredentials(server)) << c.user << ":" << c.pass;
	}
}

class DialectChoiceTest : public DialectTest
{
protected:
	serverConfig_stream serverOf(const VlcDouble &double_, const char *api = "")
	{
		serverConfig_stream server;
		server.ip = "127.0.0.1";
		server.webifPort = eString::format("%d", double_.webPort());
		server.pass = "secret";
		server.api = api;
		return server;
	}

	HostFixture host;
	Watchdog watchdog{60, "dialect choice test"};
};

TEST_F(DialectChoiceTest, VlcIsAskedOnceAndItsStatusDecides)
{
	VlcDouble lua;
	lua.setStatusXml(vlc3Answer("status-playing.xml"));
	chooseVlcDialect(serverOf(lua), true);
	EXPECT_STREQ("lua", activeVlcDialect().name());
	ASSERT_EQ(1u, lua.requests().size());
	EXPECT_EQ("/requests/status.xml", lua.requests()[0].target);
	EXPECT_EQ("Basic OnNlY3JldA==", lua.requests()[0].header("Authorization"));

	// A later load of the same set keeps the decision; a fresh start asks again.
	chooseVlcDialect(serverOf(lua), false);
	EXPECT_EQ(1u, lua.requests().size());
	chooseVlcDialect(serverOf(lua), true);
	EXPECT_EQ(2u, lua.requests().size());

	VlcDouble classic;
	chooseVlcDialect(serverOf(classic), false);
	EXPECT_STREQ("classic", activeVlcDialect().name());
	EXPECT_EQ(1u, classic.requests().size());
}

TEST_F(DialectChoiceTest, WithoutAnAnswerItIsClassicUntilTheNextLoad)
{
	VlcDouble vlc;
	vlc.setStatusXml(vlc3Answer("status-playing.xml"));
	setActiveVlcDialect(luaDialect());
	for (int code : {401, 500})
	{
		vlc.setStatusCode(code);
		chooseVlcDialect(serverOf(vlc), false);
		EXPECT_STREQ("classic", activeVlcDialect().name()) << code;
	}
	vlc.setStatusCode(0);
	vlc.setFailure(VlcDouble::Failure::refuse);
	chooseVlcDialect(serverOf(vlc), false);
	EXPECT_STREQ("classic", activeVlcDialect().name());
	EXPECT_EQ(3u, vlc.connections(VlcDouble::Port::web)) << "each load without an answer asks";

	vlc.setFailure(VlcDouble::Failure::none);
	chooseVlcDialect(serverOf(vlc), false);
	EXPECT_STREQ("lua", activeVlcDialect().name());
}

TEST_F(DialectChoiceTest, TheSettingsMayNameTheDialect)
{
	VlcDouble vlc;
	vlc.setStatusXml(vlc3Answer("status-playing.xml"));
	chooseVlcDialect(serverOf(vlc, "classic"), true);
	EXPECT_STREQ("classic", activeVlcDialect().name());
	chooseVlcDialect(serverOf(vlc, "lua"), true);
	EXPECT_STREQ("lua", activeVlcDialect().name());
	EXPECT_TRUE(vlc.requests().empty()) << "a named dialect needs no question";

	// An unknown name is no name: VLC is asked.
	chooseVlcDialect(serverOf(vlc, "LUA3"), true);
	EXPECT_STREQ("lua", activeVlcDialect().name());
	EXPECT_EQ(1u, vlc.requests().size());
}
} // namespace
