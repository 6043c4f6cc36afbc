#include "vlc/vlcdialect.h"

#include <atomic>

#include "config/equeltconfig.h"
#include "host/log.h"
#include "vlc/httpget.h"

namespace
{
std::atomic<const VlcDialect *> active{nullptr};

// What the last choice was made for, so that a reload of the same set need
// not ask VLC again.
struct Decision
{
	bool decided = false;
	eString ip;
	eString port;
};
Decision lastDecision;

// The status answer of the web interface is small; a VLC that does not answer
// within this time is taken as absent for now.
constexpr long probeTimeoutSeconds = 3;
} // namespace

const VlcDialect &activeVlcDialect()
{
	const VlcDialect *dialect = active.load();
	return dialect ? *dialect : classicDialect();
}

void setActiveVlcDialect(const VlcDialect &dialect)
{
	active.store(&dialect);
}

const VlcDialect *vlcDialectNamed(const eString &api)
{
	if (api == classicDialect().name())
		return &classicDialect();
	if (api == luaDialect().name())
		return &luaDialect();
	return nullptr;
}

const VlcDialect &vlcDialectOfStatus(const eString &answer)
{
	return answer.find("<apiversion>") != eString::npos ? luaDialect() : classicDialect();
}

eString vlcCredentials(const serverConfig_stream &server)
{
	return server.pass.empty() ? eString() : server.user + ":" + server.pass;
}

void chooseVlcDialect(const serverConfig_stream &server, bool recheck)
{
	if (const VlcDialect *named = vlcDialectNamed(server.api))
	{
		setActiveVlcDialect(*named);
		lastDecision = {true, server.ip, server.webifPort};
		return;
	}
	if (!server.api.empty())
		eWarning("[quelt]: unknown api \"%s\" in the settings, asking VLC", server.api.c_str());
	if (!recheck && lastDecision.decided && lastDecision.ip == server.ip && lastDecision.port == server.webifPort)
		return;

	eString answer;
	eString url = "http://" + server.ip + ":" + server.webifPort + "/requests/status.xml";
	int result = httpGet(url, vlcCredentials(server), answer, HttpErrorStatus::failTransfer, probeTimeoutSeconds);
	if (result != 0 || answer.empty())
	{
		// Most likely VLC is not running yet: the classic dialect until a later
		// load finds out.
		setActiveVlcDialect(classicDialect());
		lastDecision = {};
		eDebug("[quelt]: VLC gave no status answer, its web interface is taken as classic for now");
		return;
	}
	const VlcDialect &dialect = vlcDialectOfStatus(answer);
	setActiveVlcDialect(dialect);
	lastDecision = {true, server.ip, server.webifPort};
	eDebug("[quelt]: VLC's web interface speaks the %s dialect", dialect.name());
}
