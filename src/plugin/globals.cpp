#include "plugin/globals.h"

bool CONNECTION = false;
serverConfig_stream server;
eString send_parms[10];
eString startdir;
eString cddrive;
eString l_path;
eString lastDir;

eString loadFile;
eString nextFile;
int AUTOPLAY = 1;
int AUTOINFO = 1;
int INFODELAY = 300000;
bool started = false;
bool waitStart = false;
int startHour = 0, startMin = 0;
eString startTime;
eString nextTime = "XX:XX";
int shutDown = 0;

int jump = 1;
int jump_old = 1;
bool jump_changed = false;
bool seekskip = false;
int JumpInMinutes = 1;
bool sMode = false;
bool info_menu = false;
int seek = 0;
bool AC_3 = false;

int TIMEREVENT = 0;
bool startUp = true;

int quelt_volume = 31;
int tv_volume = 31;
int volu = 31, currVol = 31;
bool paused = false;
bool volumeIsVisible = false;
bool isGemini = true;
int p_x = 0, p_y = 0;
int w_x = 0, w_y = 0;

int fd = 20;
bool infoIsVisible = false;
bool i_isVisible = false;
eLabel *l_root = nullptr, *l_svcd = nullptr, *l_vcd = nullptr, *l_dvd = nullptr;
eLabel *info = nullptr;
eLabel *Info = nullptr;
eString active_skin = "default";
bool f_support = false;
bool hasPicon = false;
int posx = 200, posy = 300;
bool formatted_skin = false;

// Keep in step with the definitions above.
void resetPluginGlobals()
{
	CONNECTION = false;
	server = serverConfig_stream();
	for (eString &p : send_parms)
		p.clear();
	startdir.clear();
	cddrive.clear();
	l_path.clear();
	lastDir.clear();

	loadFile.clear();
	nextFile.clear();
	AUTOPLAY = 1;
	AUTOINFO = 1;
	INFODELAY = 300000;
	started = false;
	waitStart = false;
	startHour = startMin = 0;
	startTime.clear();
	nextTime = "XX:XX";
	shutDown = 0;

	jump = 1;
	jump_old = 1;
	jump_changed = false;
	seekskip = false;
	JumpInMinutes = 1;
	sMode = false;
	info_menu = false;
	seek = 0;
	AC_3 = false;

	TIMEREVENT = 0;
	startUp = true;

	quelt_volume = 31;
	tv_volume = 31;
	volu = currVol = 31;
	paused = false;
	volumeIsVisible = false;
	isGemini = true;
	p_x = p_y = 0;
	w_x = w_y = 0;

	fd = 20;
	infoIsVisible = false;
	i_isVisible = false;
	l_root = l_svcd = l_vcd = l_dvd = nullptr;
	info = nullptr;
	Info = nullptr;
	active_skin = "default";
	f_support = false;
	hasPicon = false;
	posx = 200;
	posy = 300;
	formatted_skin = false;
}
