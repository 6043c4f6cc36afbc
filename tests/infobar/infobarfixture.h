#ifndef INFOBAR_INFOBARFIXTURE_H
#define INFOBAR_INFOBARFIXTURE_H

// The infobar on the headless host: a copy of the box root with its skin active,
// VLC's double answering the status request, a virtual clock and the plug-in's
// globals as they are after a start.

#include <gtest/gtest.h>

#include <memory>

#include "host/eavswitch.h"
#include "host/edvb.h"
#include "host/eskin.h"
#include "host/ezaplcd.h"
#include "host/mainloop.h"
#include "infobar/equeltinfo.h"
#include "plugin/globals.h"
#include "support/hostfixture.h"
#include "support/vlcdouble.h"

namespace infobartest
{
inline const char *const boxSkin = "/share/tuxbox/enigma/skins/default.xml";

// VLC 0.8's status while a file plays, as its web interface writes it.
inline eString statusXml(int time, int length, int position, const eString &codec, const eString &size)
{
	return eString::format("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n<root>\n"
						   "<volume>256</volume>\n<length>%d</length>\n<time>%d</time>\n<state>playing</state>\n"
						   "<position>%d</position>\n<fullscreen></fullscreen>\n<information>\n"
						   "<category name=\"Stream 1\">\n<info name=\"Codec\">mpga</info>\n</category>\n"
						   "<category name=\"Stream 0\">\n<info name=\"Type\">Video</info>\n"
						   "<info name=\"Codec\">%s</info>\n<info name=\"Aufl\xc3\xb6sung\">%s</info>\n"
						   "</category>\n</information>\n</root>\n",
		length, time, position, codec.c_str(), size.c_str());
}

class InfobarTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		resetPluginGlobals();
		host.loop();
		send_parms[0] = "127.0.0.1";
		send_parms[1] = eString::format("%d", vlc.webPort());
		eAVSwitch::getInstance()->volume = 10;
		eDVB::getInstance()->time_difference = 0;
		eZapLCD::getInstance()->lcdMain->setServiceName("");
		ASSERT_EQ(0, skin.load(boxSkin));
		skin.makeActive();
	}

	void TearDown() override { eSkin::setActive(nullptr); }

	// The infobar, opened as the main window opens it.
	std::unique_ptr<eQUELTInfo> openInfobar()
	{
		auto infobar = std::make_unique<eQUELTInfo>();
		infobar->show();
		return infobar;
	}

	eString text(const eQUELTInfo &infobar, const char *name) const
	{
		eWidget *w = infobar.element(name);
		return w ? w->getText() : eString("(no element)");
	}

	static eString lcdText() { return eZapLCD::getInstance()->lcdMain->serviceName(); }

	HostFixture host{HostFixture::Root::copyOfBoxRoot};
	VlcDouble vlc;
	eSkin skin;
	Watchdog watchdog{120, "infobar test"};
};
} // namespace infobartest

#endif
