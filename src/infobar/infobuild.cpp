#include "config/configkeys.h"
#include "host/econfig.h"
#include "host/eprogress.h"
#include "host/eskin.h"
#include "host/ezaplcd.h"
#include "host/gpixmap.h"
#include "host/mainloop.h"
#include "infobar/equeltinfo.h"
#include "infobar/infobartimes.h"
#include "infobar/receivertime.h"
#include "infobar/vlcstatus.h"
#include "plugin/globals.h"

namespace
{
const char *const version = "RC21";

// Shown and hidden as groups.
const char *const soundAndFormatSymbols[] = {
	"osd_dolby_on", "osd_crypt_on", "osd_format_on", "osd_dolby_off", "osd_crypt_off", "osd_format_off",
};
const char *const accessSymbols[] = {
	"beta_emm", "beta_ecm", "beta_no", "irdeto_emm", "irdeto_ecm", "irdeto_no", "seca_emm", "seca_ecm",
	"seca_no", "via_emm", "via_ecm", "via_no", "nagra_emm", "nagra_ecm", "nagra_no", "cw_emm", "cw_ecm",
	"cw_no", "nds_emm", "nds_ecm", "nds_no", "conax_emm", "conax_ecm", "conax_no",
};
// The signal meters mean nothing for a stream from a PC.
const char *const meterElements[] = {
	"g_snr_progress", "g_agc_progress", "g_ber_progress", "snr_num", "agc_num", "ber_num",
	"snr_text", "agc_text", "ber_text",
};
// Hidden while the infobar is filled, shown again with their final texts.
const char *const colourTexts[] = {"red_text", "green_text", "yellow_text", "blue_text"};
} // namespace

eQUELTInfo::eQUELTInfo() : eWidget(nullptr, 0), logoLabel(eWidget::desktop(), 0, 0, "eLabel")
{
	init();
}

// Puts the whole file name back on the LCD, where the tick may have left a piece of it.
eQUELTInfo::~eQUELTInfo()
{
	eZapLCD::getInstance()->lcdMain->setServiceName(loadFile);
	logoLabel.hide();
	tickTimer.reset();
	clockTimer.reset();
}

void eQUELTInfo::run()
{
	eQUELTInfo infobar;
	infobar.show();
	infobar.exec();
	infobar.hide();
}

void eQUELTInfo::init()
{
	logoRepaints = 0;
	clockTimer = std::make_unique<eTimer>(eApp);
	CONNECT(clockTimer->timeout, eQUELTInfo::updateTime);
	scrollWidth = 0;
	tickCount = 0;
	scrollText = "";

	createOwnElements();
	prepareLayoutElements();

	// Without the receiver's infobar layout there is nothing to show: the run
	// that follows ends at once.
	eSkin *skin = eSkin::getActive();
	if (!skin || skin->build(this, "ezap_main") != 0)
		close(0);

	eConfig *config = eConfig::getInstance();
	int offsetX = 0, offsetY = 0;
	config->getKey(configkey::ezapOffsetX, offsetX);
	config->getKey(configkey::ezapOffsetY, offsetY);
	move(getPosition() + ePoint(offsetX, offsetY));

	VlcStatus status;
	status.fetch();

	if (f_support)
	{
		eProgress *bar = progress("progress_event");
		bar->resize(eSize(infobartimes::progressWidth(bar->getSize().w, status.position), bar->getSize().h));
		bar->show();
	}
	else
	{
		eProgress *bar = progress("progress_bar");
		bar->setPerc(status.position);
		bar->show();
	}

	eString nowDuration = infobartimes::remainingText(status.length, status.time);
	eString nextDuration = "+0 min";
	nextTime = infobartimes::projectedEnd(status.length, seek, startHour, startMin);

	eZapLCD *lcd = eZapLCD::getInstance();
	lcd->lcdMenu->hide();
	lcd->lcdMain->setServiceName(loadFile);
	lcd->lcdMain->show();

	addActionMap(&i_cursorActions->map);
	addActionMap(&i_shortcutActions->map);

	lookUpLayoutElements();
	setElementText("snr_text", "SNR:");
	setElementText("agc_text", "AGC:");
	setElementText("ber_text", "BER:");

	startTime = eString::format("%02d:%02d", startHour, startMin);

	hideElement("fc_text");
	setElementText("e_now_title", loadFile);
	setElementText("e_next_title", nextFile);
	setElementText("description", version);
	setElementText("e_now_duration", nowDuration);
	setElementText("e_next_duration", nextDuration);
	setElementText("videoformat", status.pictureSize);
	setElementText("e_now_time", startTime);
	setElementText("e_next_time", nextTime);
	setElementText("date", "VLC Mode");
	hideElement("cam_info");
	setElementText("pro_name", "CODEC: " + status.codec);
	setElementText("ch_number", version);
	for (const char *name : soundAndFormatSymbols)
		hideElement(name);
	for (const char *name : accessSymbols)
		hideElement(name);
	hideElement("button_red_disabled");
	showElement("button_red_enabled");
	hideElement("button_green_disabled");
	showElement("button_green_enabled");
	hideElement("button_yellow_enabled");
	hideElement("button_yellow_disabled");
	hideElement("button_blue_enabled");
	hideElement("button_blue_disabled");
	for (const char *name : meterElements)
		hideElement(name);
	for (const char *name : colourTexts)
		hideElement(name);
	hideElement("recStatus");

	lookUpLayoutElement("fulltime");
	lookUpLayoutElement("time");

	hideElement("dvrInfoBar");
	showElement("dvbInfoBar");
	element("dvbInfoBar")->zOrderRaise();
	element("dvrInfoBar")->zOrderRaise();
	element("fileInfoBar")->zOrderRaise();

	if (sMode)
	{
		setElementText("ch_name", "Skip Mode activated");
		setElementText("red_text", "Skip REW");
		setElementText("green_text", "Skip FFW");
	}
	else
	{
		setElementText("ch_name", "Seek Mode activated");
		setElementText("red_text", eString::format("REW %d min.", JumpInMinutes));
		setElementText("green_text", eString::format("FFW %d min.", JumpInMinutes));
	}
	setElementText("yellow_text", "Vol Down");
	setElementText("blue_text", "Vol Up");
	showElement("yellow_text");
	showElement("red_text");
	showElement("green_text");
	showElement("blue_text");

	struct tm now = receiverLocalTime();
	if (f_support)
		setElementText("fulltime", eString::format("%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec));
	else
		setElementText("time", eString::format("%02d:%02d", now.tm_hour, now.tm_min));

	scrollLeft = true;
	blink = false;
	scrollText = loadFile;
	scrollWidth = static_cast<unsigned int>(scrollText.size());
	infoIsVisible = true;

	tickTimer = std::make_unique<eTimer>(eApp);
	CONNECT(tickTimer->timeout, eQUELTInfo::actualize_EinNow);
	clockTimer->start(1000, false);
	tickTimer->start(225, false);

	if (hasPicon)
		showLogo();
}
