#include "windows/equelthelper.h"

#include "browser/elistboxentryquelt.h"
#include "host/gpixmap.h"
#include "host/platform.h"

namespace
{
const char *const version = "RC21";
const char *const pictureDirectory = "/var/tuxbox/config/enigma/pictures/quelt/";

// The lines in the order shown, up to the single blank that ends the list. Two
// of them keep a trailing blank, as they always have.
const char *const helpTexts[] = {
	"OK: Show/hide Infobar",
	"Up: Show some Stream Infos",
	"Down: Show Menu during Streaming",
	"Help: Show this",
	"Vol+: Volume Up",
	"Vol-: Volume Down",
	"Exit: Cancel playback and exit",
	"Red: Start skipping/seeking reverse",
	"Blue: Enter Settings/Start skipping/seeking forward / VolUp(Streambar)",
	"Green: Set Shutdown Mode / Play",
	"Yellow: Pause / VolDown(Streambar)",
	"1(4) <-> 3(6): Startoffset",
	"1-8: Seek +1-8 minutes ",
	"9: Activate Skip Mode/disabling SkipMode ",
	"0: Set Jump value to 1min.",
	" ",
};
} // namespace

eQUELTHelper::eQUELTHelper() : eWindow(0)
{
	cmove(ePoint(60, 90));
	cresize(eSize(620, 430));
	setText(_("Help"));
	init();
}

// The lines only point at the picture, so the list goes before the picture does.
eQUELTHelper::~eQUELTHelper()
{
	delete helpList;
	helpList = nullptr;
}

void eQUELTHelper::run()
{
	eQUELTHelper window;
	window.show();
	window.exec();
	window.hide();
}

void eQUELTHelper::init()
{
	eSize client = getClientSize();
	helpList = new eListBox<eListBoxEntryQUELT>(this, nullptr, 1, eListBoxEntryText::getEntryHeight(), "eListBox");
	helpList->move(ePoint(5, 5));
	helpList->resize(eSize(client.width() - 10, client.height() - 10));

	helpPicture.reset(loadPNG(eString::format("%shelp.png", pictureDirectory).c_str()));

	// The lines add themselves to the list as they are made.
	new eListBoxEntryQUELT(helpList, version, helpPicture.get(), 0);
	for (const char *text : helpTexts)
	{
		if (eString(text) == " ")
			break;
		new eListBoxEntryQUELT(helpList, text, helpPicture.get(), 0);
	}
}
