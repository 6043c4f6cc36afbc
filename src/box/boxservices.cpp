#include "box/boxservices.h"

#include <sys/stat.h>

#include <fstream>

#include "host/econfig.h"
#include "host/eservice.h"
#include "host/eskin.h"
#include "host/etimermanager.h"
#include "host/log.h"
#include "host/paths.h"

const char *BoxServices::defaultSkin = "/share/tuxbox/enigma/skins/default.xml";
const char *BoxServices::liveServiceName = "Test card";

BoxServices::BoxServices() = default;

BoxServices::~BoxServices()
{
	stop();
}

int BoxServices::countTimerEntries(const std::string &timerListPath)
{
	std::ifstream f(timerListPath);
	std::string line;
	int count = 0;
	while (std::getline(f, line))
		if (line.find("#TIME_BEGIN") != std::string::npos)
			++count;
	return count;
}

bool BoxServices::start(const std::string &root, std::string &error)
{
	struct stat st;
	if (stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
	{
		error = "box root " + root + " is not a folder";
		return false;
	}
	hostpaths::setRoot(root);

	eConfig *config = eConfig::getInstance();
	config->open(eConfig::defaultFile());

	eString skinPath = defaultSkin;
	eString configured;
	if (config->getKey("/ezap/ui/skin", configured) == 0 && !configured.empty())
		skinPath = configured;
	m_skin = std::make_unique<eSkin>();
	if (m_skin->load(skinPath.c_str()) != 0)
		eWarning("[box] running without a skin: %s could not be loaded", skinPath.c_str());
	m_skin->makeActive();

	// The receiver keeps its timer list on disk; count it afresh at each question,
	// so a test or a person can add a timer while the plug-in runs.
	std::string timerList = hostPath("/var/tuxbox/config/enigma/timer.epl");
	eTimerManager::getInstance()->setCounter([timerList] { return countTimerEntries(timerList); });

	eServiceReference live;
	live.type = 1;
	live.data[0] = 1;
	live.descr = liveServiceName;
	eServiceInterface::getInstance()->play(live);

	m_started = true;
	return true;
}

void BoxServices::stop()
{
	if (!m_started)
		return;
	m_started = false;
	eConfig::getInstance()->flush();
	eTimerManager::getInstance()->setCounter(nullptr);
	if (eSkin::getActive() == m_skin.get())
		eSkin::setActive(nullptr);
}
