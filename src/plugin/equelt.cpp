#include "plugin/equelt.h"

#include <unistd.h>

#include <climits>

#include "browser/elistboxentryquelt.h"
#include "config/configkeys.h"
#include "engine/engine.h"
#include "host/eavswitch.h"
#include "host/econfig.h"
#include "host/emessagebox.h"
#include "host/eprogress.h"
#include "host/eskin.h"
#include "host/estatusbar.h"
#include "host/ezaplcd.h"
#include "host/gpainter.h"
#include "host/log.h"
#include "host/paths.h"
#include "host/platform.h"
#include "plugin/globals.h"
#include "vlc/vlcdialect.h"

gPixmap *eQUELT::icon = nullptr;

namespace
{
const char *const version = "RC21";
const ePoint browsingPosition(75, 75);
const ePoint parkedPosition(90, 800);

// Skin lookups that survive a receiver without an active skin: the defaults then
// apply, as they do for every name the skin lacks.
int skinValue(const char *name, int defaultValue)
{
	eSkin *skin = eSkin::getActive();
	return skin ? skin->queryValue(name, defaultValue) : defaultValue;
}

gPixmap *skinImage(const char *name)
{
	eSkin *skin = eSkin::getActive();
	return skin ? skin->queryImage(name) : nullptr;
}

gColor skinColor(const char *name)
{
	eSkin *skin = eSkin::getActive();
	return skin ? skin->queryColor(name) : eSkin::defaultColor;
}
} // namespace

// The volume labels belong to the screen itself, so that they show while the
// window stands parked below it.
eQUELT::eQUELT() : eWindow(0), volumeGraphic(eWidget::desktop()), geminiVolume(eWidget::desktop())
{
	volumeBar = new eProgress(&volumeGraphic);

	if (access(hostPath("/var/etc/Gemini.conf").c_str(), F_OK) != 0)
		isGemini = false;
	if (isGemini)
		eDebug("[quelt]: Gemini Image detected...");
	else
		eDebug("[quelt]: Could'nt find Gemini signature...");

	infoIsVisible = false;
	cmove(browsingPosition);
	cresize(eSize(600, 440));

	fd = skinValue("fontsize", 20);

	gPixmap *volumePicture = skinImage("volume_grafik");
	int x = skinValue("volume.grafik.pos.x", 0);
	int y = skinValue("volume.grafik.pos.y", 0);
	p_x = x;
	p_y = y;
	if (volumePicture && x && y)
	{
		volumeGraphic.setPixmap(volumePicture);
		volumeGraphic.move(ePoint(x, y));
		volumeGraphic.resize(volumePicture->size());
		volumeGraphic.setBlitFlags(1);
		volumeGraphic.hide();
	}

	int w = 0, h = 0;
	if (isGemini)
	{
		int gx = skinValue("g_volume.progress.pos.x", 0);
		int gy = skinValue("g_volume.progress.pos.y", 0);
		p_x = p_x + gx + 10;
		p_y = p_y + gy + 2;
		if (gx && gy)
			volumeBar->move(ePoint(p_x, p_y));
		w = skinValue("g_volume.progress.width", 0);
		h = skinValue("g_volume.progress.height", 0);
		w_x = w;
		w_y = h;
		geminiVolumePixmap = skinImage("g_volume_progress");
		if (geminiVolumePixmap)
		{
			gPixmapDC dc(geminiVolumePixmap);
			gPainter painter(dc);
			painter.mergePalette(*gFBDC::getInstance()->getPixmap());
			geminiVolume.setPixmap(geminiVolumePixmap);
			geminiVolume.move(ePoint(p_x, p_y));
			geminiVolume.resize(geminiVolumePixmap->size());
			geminiVolume.setBlitFlags(1);
			geminiVolume.hide();
		}
	}
	if (!isGemini || w + h == 0)
	{
		isGemini = false;
		int sx = skinValue("volume.slider.pos.x", 0);
		int sy = skinValue("volume.slider.pos.y", 0);
		if (sx && sy)
			volumeBar->move(ePoint(sx, sy));
		w = skinValue("volume.slider.width", 0);
		h = skinValue("volume.slider.height", 0);
	}
	if (w && h)
		volumeBar->resize(eSize(w, h));
	volumeBar->setLeftColor(skinColor("volume_left"));
	volumeBar->setRightColor(skinColor("volume_right"));

	addActionMap(&i_shortcutActions->map);
	addActionMap(&i_cursorActions->map);
	addActionMap(&i_listActions->map);

	pauseBox = std::make_unique<eMessageBox>(_("Stream paused. Press yellow or green to release."), _("Information"),
		eMessageBox::iconInfo, eMessageBox::btOK, 0);

	init();
}

void eQUELT::init()
{
	currentIndex = 0;
	JumpInMinutes = jump = jump_old = 1;
	jump_changed = info_menu = sMode = false;

	// Children start hidden on this host; whatever the browser shows is shown here.
	fileList = new eListBox<eListBoxEntryQUELT>(this, nullptr, 1, eListBoxEntryText::getEntryHeight(), "eListBox");
	fileList->move(ePoint(10, fd + 20));
	fileList->resize(eSize(getClientSize().width() - 20, 280));
	fileList->show();
	CONNECT(fileList->selected, eQUELT::listSelected);
	CONNECT(fileList->selchanged, eQUELT::listSelChanged);

	info = new eLabel(nullptr);
	info->move(ePoint(50, 50));
	info->resize(eSize(200, fd + 10));
	info->setText("");
	info->hide();

	struct ColourKey
	{
		eLabel **label;
		int x;
		const char *colour;
		const char *text;
	};
	const ColourKey keys[] = {
		{&l_root, 10, "std_dred", "File"},
		{&l_svcd, 157, "std_dgreen", "DVD"},
		{&l_vcd, 304, "std_dyellow", "(S)VCD"},
		{&l_dvd, 452, "std_dblue", "Settings"},
	};
	for (const ColourKey &key : keys)
	{
		eLabel *label = new eLabel(this, 0, 0, "eLabel");
		label->move(ePoint(key.x, 0));
		label->resize(eSize(138, fd + 10));
		label->setProperty("align", "center");
		label->setProperty("vcenter", "");
		label->setProperty("backgroundColor", key.colour);
		label->setText(key.text);
		label->show();
		*key.label = label;
	}

	statusBar = new eStatusBar(this, "eStatusBar");
	statusBar->move(ePoint(10, getClientSize().height() - 115));
	statusBar->resize(eSize(getClientSize().width() - 20, 110));
	statusBar->loadDeco();
	statusBar->show();

	Info = new eLabel(this);
	Info->move(ePoint(50, 100));
	Info->resize(eSize(580, 400));
	Info->hide();

	// This host's LCD main page has no element beside the service name that the
	// plug-in would have to clear.
	eZapLCD *lcd = eZapLCD::getInstance();
	lcd->lcdMenu->hide();
	lcd->lcdMain->setServiceName("QUELT");
	lcd->lcdMain->show();

	playTimer = std::make_unique<eTimer>(eApp);
	recheckTimer = std::make_unique<eTimer>(eApp);
	volumeTimer = std::make_unique<eTimer>(eApp);
	waitTimer = std::make_unique<eTimer>(eApp);
	infoTimer = std::make_unique<eTimer>(eApp);
	infoCloseTimer = std::make_unique<eTimer>(eApp);
	shutdownTimer = std::make_unique<eTimer>(eApp);
	CONNECT(playTimer->timeout, eQUELT::timerHandler);
	CONNECT(recheckTimer->timeout, eQUELT::parseTimerList);
	CONNECT(volumeTimer->timeout, eQUELT::hideVolumeBar);
	CONNECT(waitTimer->timeout, eQUELT::wTimer);
	CONNECT(infoTimer->timeout, eQUELT::showInfo);
	CONNECT(infoCloseTimer->timeout, eQUELT::closeInfo);
	CONNECT(shutdownTimer->timeout, eQUELT::closeApp);
	CONNECT(eAVSwitch::getInstance()->volumeChanged, eQUELT::updateVolume);

	eQUELTConfig &settings = eQUELTEngine::getInstance()->config;
	settings.load();
	server = settings.getServerConfig();
	send_parms[0] = server.ip;
	send_parms[1] = server.webifPort;
	send_parms[2] = server.streamPort;
	startdir = server.startdir;
	cddrive = server.cddrive;
	eDebug("[quelt]: startdir %s, cddrive %s", startdir.c_str(), cddrive.c_str());
	// A password is always sent, with the user name even when that is empty (as
	// VLC 3 wants it): a password that never reaches VLC only locks the viewer out.
	send_parms[3] = vlcCredentials(server);
	chooseVlcDialect(server, true);

	eConfig *config = eConfig::getInstance();
	quelt_volume = 31;
	int mode = 0;
	config->getKey(configkey::lastmode, mode);
	config->getKey(configkey::autoplay, AUTOPLAY);
	config->getKey(configkey::autoinfo, AUTOINFO);
	int delay = 0;
	config->getKey(configkey::infodelay, delay);
	if (delay >= 1)
		// A stored value too large for a millisecond count waits as long as one can.
		INFODELAY = delay <= INT_MAX / 60000 ? delay * 60000 : INT_MAX;
	else
	{
		AUTOINFO = 0;
		INFODELAY = 300000;
	}

	eDebug("[Quelt]: quelt %s is starting up", version);

	eString skin;
	if (config->getKey(configkey::skin, skin) == 0)
	{
		active_skin = skin;
		f_support = active_skin.find("blueline") != eString::npos || active_skin.find("vizta") != eString::npos;
	}

	eString remembered;
	if (config->getKey(configkey::lastPath, remembered) == 0)
		lastDir = remembered;
	else
		lastDir = startdir;
	eDebug("[quelt]: xml startdir: %s  <<>> config startdir: %s", startdir.c_str(), lastDir.c_str());

	if (readLogoConf() == 0)
		hasPicon = true;

	recheckTimer->start(1000, true);

	CONNECTION = server.missingSet == 0;

	loadList(mode, lastDir);
}

eQUELT::~eQUELT()
{
	if (CONNECTION)
	{
		eConfig::getInstance()->setKey(configkey::lastPath, l_path);
		eQUELTEngine::getInstance()->control("stop", "nofile", 1);
		playList.clear();
		volumeGraphic.hide();
		geminiVolume.hide();
	}

	playTimer.reset();
	recheckTimer.reset();
	volumeTimer.reset();
	waitTimer.reset();
	infoTimer.reset();
	infoCloseTimer.reset();
	shutdownTimer.reset();
	pauseBox.reset();

	if (savedService.type != -1 && TIMEREVENT != 3)
		eServiceInterface::getInstance()->play(savedService);

	// The info line is a top-level label that no parent deletes. The colour keys
	// and the large label die with the window; nothing may point at them after.
	delete info;
	info = nullptr;
	l_root = l_svcd = l_vcd = l_dvd = nullptr;
	Info = nullptr;
}

void eQUELT::showMenu()
{
	if (menuVisible)
		return;
	playTimer->stop();
	pauseBox->hide();
	hide();
	cmove(browsingPosition);
	statusBar->loadDeco();
	show();
	menuVisible = true;
	eZapLCD::getInstance()->lcdMain->setServiceName("QUELT-MAIN");
}

void eQUELT::park()
{
	hide();
	cmove(parkedPosition);
	show();
	menuVisible = false;
}

void eQUELT::setStatus(int index)
{
	if (playList.empty() || index < 0 || index >= int(playList.size()))
		return;
	const PLAYLIST &entry = playList[index];
	switch (entry.type)
	{
	case ENTRY_PARENT:
		fileList->setHelpText(_("Go up one directory level"));
		break;
	case ENTRY_DIRECTORY:
		fileList->setHelpText(_("Enter directory"));
		break;
	case ENTRY_PLAYABLE:
		fileList->setHelpText(eString::format("Startoffset: %02dmin.", entry.startOffset) + "\nFile: " + entry.name +
			eString::format("\nSize: %d MB", entry.sizeMB));
		break;
	case ENTRY_NO_SERVER:
		fileList->setHelpText(eString::format("NO SERVER CONNECTION, please check your Settings and ensure that VLC is "
											  "startet on the PC\nCheck also your startpath settings! %s",
			startdir.c_str()));
		break;
	default:
		break;
	}
}

void eQUELT::closeApp()
{
	if (TIMEREVENT <= 0)
		return;

	auto hideVolume = [this] {
		if (volumeIsVisible)
		{
			volumeGraphic.hide();
			geminiVolume.hide();
			volumeIsVisible = false;
		}
	};

	hideVolume();
	if (menuVisible)
	{
		eConfig::getInstance()->setKey(configkey::volume, quelt_volume);
		eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, tv_volume);
		infoTimer->stop();
		if (i_isVisible)
			closeInfo();
		if (eQUELTEngine::getInstance()->status == STATUS_PLAYING)
			park();
	}
	hideVolume();
	if (!menuVisible)
	{
		eQUELTEngine *engine = eQUELTEngine::getInstance();
		engine->status = STATUS_CLOSING;
		engine->control("stop", "nofile", 1);
		showMenu();
		eZapLCD::getInstance()->lcdMain->setServiceName(loadFile);
	}
	close(0);
}
