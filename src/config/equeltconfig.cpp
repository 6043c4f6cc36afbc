#include "config/equeltconfig.h"

#include <cstdio>

#include "config/configkeys.h"
#include "host/econfig.h"
#include "host/log.h"
#include "host/paths.h"
#include "host/xmltree.h"

const char *const eQUELTConfig::settingsFile = "/var/tuxbox/config/quelt.xml";

namespace
{
// The file is fed to the parser in pieces of this size; a shorter piece is the last.
constexpr size_t pieceSize = 2048;

// An absent attribute reads as the empty string.
eString attribute(const XMLTreeNode *node, const char *name)
{
	const char *value = node->GetAttributeValue(name);
	return eString(value ? value : "");
}

// Only the names "set1".."set4" select a set, and only the active one; the
// comparison is exact, so "Set1" or a missing name selects nothing.
bool isActiveSet(const XMLTreeNode *node, int activeSet)
{
	if (activeSet < 1 || activeSet > 4)
		return false;
	const char *name = node->GetAttributeValue("name");
	return name && eString(name) == eString::format("set%d", activeSet);
}
} // namespace

eQUELTConfig::eQUELTConfig() = default;

eQUELTConfig::~eQUELTConfig() = default;

bool eQUELTConfig::load()
{
	int activeSet = configdefault::checkset;
	eConfig::getInstance()->getKey(configkey::checkset, activeSet);

	XMLTreeParser parser("ISO-8859-1");
	FILE *file = fopen(hostPath(settingsFile).c_str(), "r");
	if (!file)
		return false;

	setups.clear();

	char piece[pieceSize];
	bool last = false;
	while (!last)
	{
		size_t len = fread(piece, 1, sizeof(piece), file);
		last = len < sizeof(piece);
		if (!parser.Parse(piece, static_cast<int>(len), last))
		{
			fclose(file);
			return false;
		}
	}
	fclose(file);

	XMLTreeNode *root = parser.RootNode();
	if (!root)
		return false;

	for (XMLTreeNode *node = root->GetChild(); node; node = node->GetNext())
	{
		eString element(node->GetName());
		if (element == "server")
		{
			if (isActiveSet(node, activeSet))
			{
				serverSet.ip = attribute(node, "ip");
				serverSet.webifPort = attribute(node, "webif-port");
				serverSet.streamPort = attribute(node, "stream-port");
				serverSet.user = attribute(node, "user");
				serverSet.pass = attribute(node, "pass");
				serverSet.api = attribute(node, "api");
			}
		}
		else if (element == "config")
		{
			if (isActiveSet(node, activeSet))
			{
				serverSet.startdir = attribute(node, "startdir");
				serverSet.cddrive = attribute(node, "cddrive");
			}
			eDebug("[quelt]: startdir %s", serverSet.startdir.c_str());
		}
		else if (element == "codec")
		{
			codecs.mpeg1 = attribute(node, "mpeg1");
			codecs.mpeg2 = attribute(node, "mpeg2");
			codecs.audio = attribute(node, "audio");
		}
		else if (element == "setup")
		{
			videoTypeParms_stream setup;
			setup.name = attribute(node, "name");
			setup.pic = attribute(node, "pic");
			setup.ext = attribute(node, "ext");
			setup.videorate = attribute(node, "Videorate");
			eString videotranscode = attribute(node, "Videotranscode");
			setup.videocodec = attribute(node, "Videocodec");
			setup.videosize = attribute(node, "Videosize");
			setup.audiorate = attribute(node, "Audiorate");
			eString audiotranscode = attribute(node, "Audiotranscode");
			setup.fps = attribute(node, "fps");
			setup.soutadd = attribute(node, "soutadd");
			if (setup.name.empty() || setup.ext.empty() || setup.videorate.empty() ||
				videotranscode.empty() || setup.videocodec.empty() || setup.videosize.empty() ||
				setup.audiorate.empty() || audiotranscode.empty() || setup.fps.empty())
			{
				// The setups read so far stay usable; nothing after this one is read.
				eDebug("[quelt] parse error in settings file");
				return false;
			}
			setup.videotranscode = videotranscode == "1";
			setup.audiotranscode = audiotranscode == "1";
			setups.push_back(setup);
		}
	}

	if (serverSet.ip.empty())
	{
		serverSet.missingSet = activeSet;
		eDebug("[quelt] parse error in settings file. server set number %d", activeSet);
		return false;
	}
	serverSet.missingSet = 0;
	return true;
}

serverConfig_stream eQUELTConfig::getServerConfig()
{
	return serverSet;
}

videoTypeParms_stream eQUELTConfig::getVideoParms(eString name, eString ext)
{
	ext = ext.upper();
	videoTypeParms_stream result;
	result.ext = ext;
	for (const videoTypeParms_stream &setup : setups)
	{
		if (setup.ext == ext && setup.name == name)
		{
			result = setup;
			break;
		}
	}
	return result;
}
