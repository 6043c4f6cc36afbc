#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "config/configkeys.h"
#include "engine/engine.h"
#include "host/decoder.h"
#include "host/econfig.h"
#include "host/elabel.h"
#include "host/eprogress.h"
#include "host/gpixmap.h"
#include "support/hostfixture.h"
#include "support/vlcdouble.h"

namespace
{
const eString stopPath = "/requests/status.xml?command=pl_stop";
const eString emptyPath = "/requests/status.xml?command=pl_empty";
const eString pausePath = "/requests/status.xml?command=pl_pause";

// A port on loopback that nobody listens on.
int closedPort()
{
	int fd = socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in addr{};
	addr.sin_family = AF_INET;
	addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	socklen_t len = sizeof(addr);
	bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr));
	getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
	close(fd);
	return ntohs(addr.sin_port);
}

class EngineTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		writeSettings(vlc.webPort(), "/films");
		engine->control("start", "nofile", 1);
		ASSERT_EQ(engine->activeServer.missingSet, 0);
		engine->status = STATUS_IDLE;
		audioOnly = false;
		vlc.clearRequests();
		host.clearLog();
	}

	void writeSettings(int webPort, const char *startdir)
	{
		host.writeFile("/var/tuxbox/config/quelt.xml",
			eString::format("<vlc><server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\"/>"
							"<config name=\"set1\" startdir=\"%s\" cddrive=\"D:\"/></vlc>",
				webPort, vlc.streamPort(), startdir));
	}

	HostFixture host;
	VlcDouble vlc;
	eQUELTEngine *engine = eQUELTEngine::getInstance();
};

struct CommandCase
{
	const char *word;
	int number;
	std::vector<eString> targets;
	int status; // after the command, which starts in STATUS_PLAYING
};

TEST_F(EngineTest, CommandsSendTheirRequests)
{
	const CommandCase cases[] = {
		{"rew", 3, {"/requests/status.xml?command=seek&val=%2D3m"}, STATUS_PLAYING},
		{"ffw", 10, {"/requests/status.xml?command=seek&val=%2B10m"}, STATUS_PLAYING},
		{"ffw", 0, {"/requests/status.xml?command=seek&val=%2B0m"}, STATUS_PLAYING},
		{"srew", 1, {stopPath}, STATUS_PLAYING},
		{"sffw", 1, {stopPath}, STATUS_PLAYING},
		{"pause", 1, {pausePath}, STATUS_PLAYING},
		{"leave", 1, {stopPath, emptyPath}, STATUS_PLAYING},
		{"stop", 1, {stopPath, emptyPath, emptyPath}, STATUS_IDLE},
		{"terminate", 1, {stopPath, emptyPath, emptyPath}, STATUS_IDLE},
		// The stream is fetched anew after the pause request; without a
		// stream to serve the double refuses it.
		{"play", 1, {pausePath, "/dboxstream"}, STATUS_ERROR},
		{"start", 1, {}, STATUS_PLAYING},
		{"compdest", 1, {}, STATUS_PLAYING},
		{"foo", 1, {}, STATUS_PLAYING},
		{"", 1, {}, STATUS_PLAYING},
		{"REW", 3, {}, STATUS_PLAYING},
		{"rew ", 3, {}, STATUS_PLAYING},
	};
	for (const CommandCase &c : cases)
	{
		SCOPED_TRACE(eString::format("\"%s\" %d", c.word, c.number));
		vlc.clearRequests();
		engine->status = STATUS_PLAYING;
		engine->control(c.word, "nofile", c.number);

		// The double records a request before it answers, and every request is
		// answered before control returns.
		std::vector<VlcRequest> requests = vlc.requests();
		std::vector<eString> targets;
		for (const VlcRequest &r : requests)
		{
			targets.push_back(r.target);
			EXPECT_EQ(r.line, "GET " + r.target + " HTTP/1.0");
			EXPECT_TRUE(r.headers.empty());
		}
		EXPECT_EQ(targets, c.targets);
		EXPECT_EQ(engine->status.load(), c.status);
	}
}

struct BufferCase
{
	std::optional<int> key;
	const char *file;
	bool stream;
	int initialBuffer;
};

TEST_F(EngineTest, EveryCommandSetsTheBufferValues)
{
	const BufferCase cases[] = {
		{std::nullopt, "nofile", true, 16 * 261696},
		{3, "nofile", true, 16 * 261696},
		{4, "nofile", true, 4 * 261696},
		{25, "nofile", true, 25 * 261696},
		{26, "nofile", true, 16 * 261696},
		{-4, "nofile", true, 16 * 261696},
		{10, "Movie%2eavi", true, 10 * 261696},
		{10, "Song%2emp3", false, 10 * 8000},
		{10, "SONG%2EMP3", false, 10 * 8000},
		{10, "song%2eMp3", false, 10 * 8000},
		{10, "x%2ewma", false, 10 * 8000},
		{10, "x%2eWav", false, 10 * 8000},
		{10, "x%2eogg", false, 10 * 8000},
		{10, "mp3", false, 10 * 8000},
		{26, "x%2eogg", false, 16 * 8000},
		{10, "Song%2emp2", true, 10 * 261696},
		{10, "x%2emp3%20", true, 10 * 261696},
		{10, "p3", true, 10 * 261696},
		{10, "", true, 10 * 261696},
	};
	for (const BufferCase &c : cases)
	{
		SCOPED_TRACE(eString::format("key %d, file \"%s\"", c.key.value_or(-999), c.file));
		if (c.key)
			eConfig::getInstance()->setKey(configkey::buffersize, *c.key);
		else
			eConfig::getInstance()->delKey(configkey::buffersize);
		isStream = !c.stream;
		BLOCKSIZE = 1;
		host.clearLog();

		engine->control("foo", c.file, 1);

		EXPECT_EQ(isStream.load(), c.stream);
		EXPECT_EQ(INITIALBUFFER.load(), c.initialBuffer);
		EXPECT_EQ(BLOCKSIZE.load(), 261696);
		EXPECT_EQ(host.logCount("[quelt]: pure audio detected. decreasing buffer size"), c.stream ? 0u : 1u);
		EXPECT_TRUE(host.logContains(eString::format("[quelt]: INITIALBUFFER SIZE = %d", c.initialBuffer)));
	}
}

TEST_F(EngineTest, SettingsAreReloadedOnlyForStartStopAndTerminate)
{
	const struct
	{
		const char *word;
		bool reloads;
	} cases[] = {
		{"start", true}, {"start2", true}, {"start3", true}, {"restart", true}, {"stop", true}, {"terminate", true},
		{"foo", false}, {"compdest", false}, {"STOP", false}, {"stopNow", false}, {"Start", false}, {"", false},
	};
	int round = 0;
	for (const auto &c : cases)
	{
		SCOPED_TRACE(c.word);
		eString before = engine->activeServer.startdir;
		eString changed = eString::format("/changed%d", ++round);
		writeSettings(vlc.webPort(), changed.c_str());
		engine->control(c.word, "nofile", 1);
		EXPECT_EQ(engine->activeServer.startdir, c.reloads ? changed : before);
	}
}

TEST_F(EngineTest, StartCommandsReachTheStartSequence)
{
	const struct
	{
		const char *word;
		int number;
		size_t seeks;
	} cases[] = {{"start3", 12, 3}, {"start2", 12, 0}};
	for (const auto &c : cases)
	{
		SCOPED_TRACE(c.word);
		vlc.clearRequests();
		eConfig::getInstance()->setKey(configkey::buffersize, 12);
		engine->control(c.word, "Movie%2eavi", c.number);
		// The double serves no stream, so all three attempts fail.
		EXPECT_EQ(engine->status.load(), STATUS_ERROR);
		EXPECT_EQ(INITIALBUFFER.load(), 12 * 261696);
		EXPECT_TRUE(isStream);
		std::vector<eString> targets = vlc.targets();
		EXPECT_EQ(size_t(std::count(targets.begin(), targets.end(), "/requests/status.xml?command=seek&val=%2B12m")),
			c.seeks);
		EXPECT_EQ(vlc.targets(VlcDouble::Port::stream).size(), 3u);
		engine->control("terminate", "nofile", 1);
	}
}

TEST_F(EngineTest, CompressionSwitches)
{
	engine->checkCompression();
	EXPECT_TRUE(audioOnly);
	engine->control("compdest", "nofile", 1);
	EXPECT_FALSE(audioOnly);
	EXPECT_EQ(host.logCount("[quelt]: leaving vdc"), 1u);
}

// The progress display as a start shows it.
void showProgressDisplay(bool withPicture)
{
	s_statp = withPicture ? new gPixmap(eSize(250, 20)) : nullptr;
	v_progress = new eLabel(nullptr);
	s_stat = new eProgress(nullptr);
	epT = new eLabel(nullptr);
	v_progress->show();
	s_stat->show();
	epT->show();
}

void deleteProgressDisplay()
{
	delete s_stat;
	delete s_statp;
	delete epT;
	delete v_progress;
	s_stat = nullptr;
	s_statp = nullptr;
	epT = nullptr;
	v_progress = nullptr;
}

TEST_F(EngineTest, AnErrorHidesTheProgressDisplayUnlessAStartIsUnderWay)
{
	const struct
	{
		int status;
		bool picture;
		bool barHidden, textHidden;
	} cases[] = {
		{STATUS_PLAYING, true, false, false},
		{STATUS_IDLE, true, false, false},
		{STATUS_ERROR, true, true, true},
		{STATUS_PAUSED, true, true, true},
		{STATUS_STARTED, true, true, true},
		{STATUS_CLOSING, true, true, true},
		// Without the bar's picture only the percentage text is shown.
		{STATUS_STARTED, false, false, true},
	};
	for (const auto &c : cases)
	{
		SCOPED_TRACE(eString::format("status %d, picture %d", c.status, c.picture));
		showProgressDisplay(c.picture);
		engine->status = c.status;
		engine->setErrorStatus();
		EXPECT_EQ(engine->status.load(), STATUS_ERROR);
		EXPECT_EQ(!v_progress->isVisible(), c.barHidden);
		EXPECT_EQ(!s_stat->isVisible(), c.barHidden);
		EXPECT_EQ(!epT->isVisible(), c.textHidden);
		deleteProgressDisplay();
	}
}

TEST_F(EngineTest, StopResetsTheBoxSide)
{
	showProgressDisplay(true);
	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		tsBuffer_Stream.write("0123456789", 10);
	}
	engine->checkCompression();
	Decoder::clearHistory();
	engine->status = STATUS_CLOSING;

	engine->control("stop", "nofile", 1);

	EXPECT_EQ(engine->status.load(), STATUS_IDLE);
	EXPECT_EQ(s_statp, nullptr);
	EXPECT_EQ(v_progress, nullptr);
	EXPECT_EQ(s_stat, nullptr);
	EXPECT_EQ(epT, nullptr);
	EXPECT_EQ(tsBuffer_Stream.size(), 0);
	EXPECT_FALSE(audioOnly);
	EXPECT_EQ(Decoder::history(), std::vector<std::string>{"Flush"});
}

TEST_F(EngineTest, AnUnreachableVlcLeavesTheStatusAlone)
{
	writeSettings(closedPort(), "/films");
	engine->control("start", "nofile", 1);
	engine->status = STATUS_PLAYING;
	{
		// Up to 200 connection attempts 40 ms apart.
		Watchdog watchdog(60, "a pause request to an unreachable VLC");
		engine->control("pause", "nofile", 1);
	}
	EXPECT_EQ(engine->status.load(), STATUS_PLAYING);
}

TEST_F(EngineTest, ASilentVlcIsGivenUpAfterItsTimeout)
{
	vlc.setFailure(VlcDouble::Failure::stall);
	engine->status = STATUS_PAUSED;
	{
		Watchdog watchdog(60, "a seek request to a stalling VLC");
		engine->control("ffw", "nofile", 2);
	}
	ASSERT_TRUE(vlc.waitForRequests(1, 5000));
	EXPECT_EQ(vlc.targets(), std::vector<eString>{"/requests/status.xml?command=seek&val=%2B2m"});
	EXPECT_EQ(engine->status.load(), STATUS_PAUSED);
}

struct AnswerCase
{
	const char *what;
	VlcDouble::Failure failure;
	int statusCode;
	eString raw;
	bool success;
};

TEST_F(EngineTest, ARequestSucceedsOnlyWithTheClassicStatusLine)
{
	// How VLC 3 answers a raw command.
	const eString vlc3Answer = "HTTP/1.1 200 OK\r\nContent-type: text/xml\r\nCache-Control: no-cache\r\n"
							   "Content-Length: 2141\r\n\r\n<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>";
	const AnswerCase cases[] = {
		{"classic answer", VlcDouble::Failure::none, 0, "", true},
		{"bare status line", VlcDouble::Failure::none, 0, "HTTP/1.0 200 OK\r\n\r\n", true},
		{"status line without line end", VlcDouble::Failure::none, 0, "HTTP/1.0 200 OK", true},
		{"status line after other bytes", VlcDouble::Failure::none, 0, "xyz HTTP/1.0 200 OK\r\n", true},
		{"HTTP/1.1", VlcDouble::Failure::none, 0, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false},
		{"VLC 3's answer", VlcDouble::Failure::none, 0, vlc3Answer, false},
		{"lower case", VlcDouble::Failure::none, 0, "http/1.0 200 ok\r\n\r\n", false},
		{"another reason phrase", VlcDouble::Failure::none, 0, "HTTP/1.0 200 Okay\r\n\r\n", false},
		{"204", VlcDouble::Failure::none, 0, "HTTP/1.0 204 No Content\r\n\r\n", false},
		{"401", VlcDouble::Failure::none, 401, "", false},
		{"404", VlcDouble::Failure::none, 404, "", false},
		{"500", VlcDouble::Failure::none, 500, "", false},
		{"garbage", VlcDouble::Failure::garbage, 0, "", false},
		{"half an answer", VlcDouble::Failure::closeEarly, 0, "", true},
		{"refused", VlcDouble::Failure::refuse, 0, "", false},
		{"stalled", VlcDouble::Failure::stall, 0, "", false},
	};
	for (const AnswerCase &c : cases)
	{
		SCOPED_TRACE(c.what);
		vlc.setFailure(c.failure);
		vlc.setStatusCode(c.statusCode);
		vlc.setRawAnswer(c.raw);
		size_t before = vlc.connections(VlcDouble::Port::web);
		int result = engine->sendRequest2VLC_stream("requests/status.xml?command=pl_pause");
		if (c.success)
			EXPECT_EQ(result, 0);
		else
			EXPECT_LT(result, 0);
		EXPECT_EQ(vlc.connections(VlcDouble::Port::web), before + 1);
	}
}

TEST_F(EngineTest, TheRawClientNeverReadsPastItsBuffer)
{
	vlc.setRawAnswer(eString(5000, 'A'));
	int fd = tcpOpen_stream("127.0.0.1", vlc.webPort(), 2);
	ASSERT_GE(fd, 0);
	char buffer[64];
	memset(buffer, '#', sizeof(buffer));
	strcpy(buffer, "GET / HTTP/1.0\r\n\r\n");
	char before[64];
	memcpy(before, buffer, sizeof(buffer));
	EXPECT_EQ(engine->tcpRequest_stream(fd, buffer, 16), 0);
	close(fd);
	EXPECT_EQ(eString(buffer), eString(15, 'A'));
	EXPECT_EQ(memcmp(buffer + 16, before + 16, sizeof(buffer) - 16), 0);
}

TEST_F(EngineTest, ConnectionsAreOnlyTriedForAnAddressAndATime)
{
	const struct
	{
		const char *address;
		int port, seconds;
	} refused[] = {
		{"127.0.0.1", 0, 0},        // no time at all
		{"127.0.0.1", 0, -1},
		{"", 0, 2},                 // no address
		{"localhost", 0, 2},        // names are not looked up
		{"127.0.0.1", -1, 2},       // no port
		{"127.0.0.1", 70000, 2},
	};
	// The settings load of the set-up has asked VLC which dialect it speaks.
	size_t before = vlc.connections(VlcDouble::Port::web);
	for (const auto &r : refused)
	{
		SCOPED_TRACE(eString::format("%s:%d for %d s", r.address, r.port, r.seconds));
		int port = r.port == 0 ? vlc.webPort() : r.port;
		EXPECT_EQ(tcpOpen_stream(r.address, port, r.seconds), -1);
	}
	EXPECT_EQ(vlc.connections(VlcDouble::Port::web), before);

	int fd = tcpOpen_stream("127.0.0.1", vlc.webPort(), 1);
	ASSERT_GE(fd, 0);
	close(fd);
}
} // namespace
