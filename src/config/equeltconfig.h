#ifndef CONFIG_EQUELTCONFIG_H
#define CONFIG_EQUELTCONFIG_H

#include <vector>

#include "host/estring.h"

// The active server set: where VLC runs and how it is reached.
struct serverConfig_stream
{
	eString ip;
	eString webifPort;
	eString streamPort;
	eString user;
	eString pass;
	// The generation of VLC's web interface, "classic" or "lua"; empty when the
	// settings leave it to the plug-in to ask VLC.
	eString api;
	eString startdir;
	eString cddrive;
	// 0 when the last load found the active set with an address; otherwise the
	// set number that load looked for. Before any load has finished its pass it is
	// -1, which the main window reads, like any nonzero value, as "no server".
	int missingSet = -1;
};

// One transcoding setup: how VLC is to transcode an input of one category
// ("File", "DVD", "VCD") and extension. The initial values are the ones
// getVideoParms returns when no setup matches.
struct videoTypeParms_stream
{
	eString name = "default";
	eString pic;
	eString ext;
	eString videorate = "1024";
	eString audiorate = "192";
	eString videocodec = "mpeg2";
	eString videosize = "704x576";
	bool videotranscode = false;
	bool audiotranscode = false;
	eString fps = "25";
	eString soutadd;
};

// The codec element of the settings file; kept, but nothing transcodes by it.
struct codecs_stream
{
	eString mpeg1;
	eString mpeg2;
	eString audio;
};

// The settings store: reads the settings file /var/tuxbox/config/quelt.xml and
// answers which server set is active and how an input is to be transcoded.
//
// GUI thread only; it has no lock, and the engine's worker threads never use it.
class eQUELTConfig
{
public:
	eQUELTConfig();
	~eQUELTConfig();

	// Reads the settings file. True when the active server set (key checkset) was
	// found with a non-empty address. A file that cannot be opened changes
	// nothing; one that is not XML empties the setups and keeps the rest; a setup
	// with a required attribute missing ends the walk there.
	bool load();
	// A copy of the active server set, missingSet included.
	serverConfig_stream getServerConfig();
	// The first setup of category name for the extension ext (any case, no dot,
	// or "NONE"), or the defaults with name "default" when there is none.
	videoTypeParms_stream getVideoParms(eString name, eString ext);
	codecs_stream getCodecs() const { return codecs; }

	// The receiver path of the settings file.
	static const char *const settingsFile;

private:
	serverConfig_stream serverSet;
	std::vector<videoTypeParms_stream> setups;
	codecs_stream codecs;
};

#endif
