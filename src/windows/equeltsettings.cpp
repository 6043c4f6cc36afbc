#include "windows/equeltsettings.h"

#include "config/configkeys.h"
#include "host/echeckbox.h"
#include "host/econfig.h"
#include "host/elabel.h"
#include "host/emessagebox.h"
#include "host/enumber.h"
#include "host/eslider.h"
#include "host/platform.h"
#include "plugin/globals.h"

eLabel *l_delay = nullptr;
eNumber *infoDelay = nullptr;
eLabel *l_servset = nullptr;
eNumber *c_servset = nullptr;

namespace
{
// Interval in minutes and server set when their keys are absent.
const int defaultInfoDelay = 5;
const int defaultInfoLineMs = 300000;
const int lastServerSet = 4;

// The slider counts stream blocks; the label shows four percent a block. The
// stored value is taken as it is, so a damaged store cannot overflow the text.
eString bufferText(int blocks)
{
	return eString::format("Buffersize [%lld%%]:", 4LL * blocks);
}
} // namespace

eQUELTSettings::eQUELTSettings() : eWindow(0)
{
	setText("QUELT Settings");
	cmove(ePoint(90, 110));
	cresize(eSize(550, 390));
	init();
}

void eQUELTSettings::init()
{
	eConfig *config = eConfig::getInstance();

	int blocks = configdefault::buffersize;
	config->getKey(configkey::buffersize, blocks);
	bufferLabel = new eLabel(this, 0, 0);
	bufferLabel->move(ePoint(20, 20));
	bufferLabel->resize(eSize(170, 24));
	bufferLabel->setText(bufferText(blocks));

	bufferSlider = new eSlider(this, bufferLabel, 0, configdefault::buffersizeMax);
	bufferSlider->setName("sbsize");
	bufferSlider->move(ePoint(200, 20));
	bufferSlider->resize(eSize(220, 24));
	bufferSlider->setHelpText(_("change streaming Buffersize"));

	continuousPlay = new eCheckbox(this, 0, 1, false, "eCheckBox");
	continuousPlay->move(ePoint(20, 50));
	continuousPlay->resize(eSize(250, 35));
	continuousPlay->setText(_("Continous Play"));
	continuousPlay->setHelpText("");

	intervalInfos = new eCheckbox(this, 0, 1, false, "eCheckBox");
	intervalInfos->move(ePoint(20, 100));
	intervalInfos->resize(eSize(350, 35));
	intervalInfos->setText(_("Interval Infos"));
	intervalInfos->setHelpText("");

	CONNECT(bufferSlider->changed, eQUELTSettings::bufferSizeChanged);
	CONNECT(intervalInfos->selected, eQUELTSettings::showNumber);

	l_delay = new eLabel(this);
	l_delay->setText(":");
	l_delay->move(ePoint(455, 100));
	l_delay->resize(eSize(300, 35));
	int delay = defaultInfoDelay;
	config->getKey(configkey::infodelay, delay);
	infoDelay = new eNumber(this, 1, 0, 99, 2, nullptr, 0, l_delay, 1, "eNumber");
	infoDelay->move(ePoint(460, 100));
	infoDelay->resize(eSize(65, 35));
	infoDelay->setHelpText(_("no helptext yet"));
	infoDelay->loadDeco();

	l_servset = new eLabel(this);
	l_servset->setText("Current Server Set:");
	l_servset->move(ePoint(20, 150));
	l_servset->resize(eSize(300, 35));
	int set = configdefault::checkset;
	config->getKey(configkey::checkset, set);
	c_servset = new eNumber(this, 1, 0, lastServerSet, 2, nullptr, 0, l_servset, 1, "eNumber");
	c_servset->move(ePoint(460, 150));
	c_servset->resize(eSize(65, 35));
	c_servset->setHelpText(_("current server set"));
	c_servset->loadDeco();
	c_servset->setNumber(set);
	c_servset->hide();
	l_servset->hide();
	// Connected only now: showing the stored set is no change to warn about.
	CONNECT(c_servset->numberChanged, eQUELTSettings::showInformation);

	// Without a stored value the switches show what the plug-in does now: it
	// plays on and shows the info line by its run-time values, and closing the
	// window stores what it shows, so a default of "off" here would switch
	// continuous play off behind the viewer's back.
	int autoplay = AUTOPLAY != 0, autoinfo = AUTOINFO != 0;
	config->getKey(configkey::autoplay, autoplay);
	continuousPlay->setCheck(autoplay);
	config->getKey(configkey::autoinfo, autoinfo);
	intervalInfos->setCheck(autoinfo);

	infoDelay->setNumber(delay);

	if (blocks < configdefault::buffersizeMin || blocks > configdefault::buffersizeMax)
		blocks = configdefault::buffersize;
	bufferLabel->hide();
	bufferLabel->setText(bufferText(blocks));
	bufferLabel->show();
	bufferSlider->setValue(blocks);

	l_servset->show();
	c_servset->show();
	showNumber();
}

// Saved in this order whichever way the window closed. The engine reads the new
// buffer size at its next command, the playback session the run-time copies.
eQUELTSettings::~eQUELTSettings()
{
	eConfig *config = eConfig::getInstance();

	int play = continuousPlay->isChecked() ? 1 : 0;
	config->setKey(configkey::autoplay, play);
	AUTOPLAY = play;

	int infoLine = intervalInfos->isChecked() ? 1 : 0;
	config->setKey(configkey::autoinfo, infoLine);
	AUTOINFO = infoLine;

	int minutes = infoDelay->getNumber();
	if (minutes >= 1)
	{
		INFODELAY = minutes * 60000;
		config->setKey(configkey::infodelay, minutes);
	}
	else
	{
		INFODELAY = defaultInfoLineMs;
		config->setKey(configkey::infodelay, defaultInfoDelay);
	}

	int set = c_servset->getNumber();
	config->setKey(configkey::checkset, set >= 1 && set <= lastServerSet ? set : configdefault::checkset);

	config->delKey(configkey::mainOS);
	config->delKey(configkey::vlcVersion);

	config->setKey(configkey::buffersize, bufferSlider->getValue());
	config->flush();

	l_delay = nullptr;
	infoDelay = nullptr;
	l_servset = nullptr;
	c_servset = nullptr;
}

void eQUELTSettings::run()
{
	eQUELTSettings settings;
	settings.show();
	settings.exec();
	settings.hide();
}

void eQUELTSettings::bufferSizeChanged(int value)
{
	eConfig *config = eConfig::getInstance();
	config->setKey(configkey::buffersize, value);
	bufferLabel->hide();
	bufferLabel->setText(bufferText(value));
	bufferLabel->show();
	config->flush();
}

void eQUELTSettings::showNumber()
{
	if (intervalInfos->isChecked())
	{
		intervalInfos->setText(_("Interval Infos. Timeinterval"));
		infoDelay->show();
		l_delay->show();
	}
	else
	{
		intervalInfos->setText(_("Interval Infos"));
		infoDelay->hide();
		l_delay->hide();
	}
}

void eQUELTSettings::showInformation()
{
	eMessageBox box(_("You have to restart QUELT to take effect of changes"), _("Info"),
		eMessageBox::btOK | eMessageBox::iconInfo, eMessageBox::btOK, 0);
	box.show();
	box.exec();
	box.hide();
}
