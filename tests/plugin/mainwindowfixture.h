#ifndef PLUGIN_MAINWINDOWFIXTURE_H
#define PLUGIN_MAINWINDOWFIXTURE_H

// The main window on the headless host: a temporary box root with a settings file
// for VLC's double, a small skin, the engine's store emptied, a virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "config/equeltconfig.h"
#include "engine/engine.h"
#include "host/eavswitch.h"
#include "host/econfig.h"
#include "host/eservice.h"
#include "host/eskin.h"
#include "host/mainloop.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"
#include "support/hostfixture.h"
#include "support/vlcdouble.h"

namespace mainwindowtest
{
inline const char *const skinFile = "/share/tuxbox/enigma/skins/test/skin.xml";

// A small RGBA PNG, written with stored (uncompressed) deflate blocks so the test
// needs no compression library.
inline eString pngFile(int width, int height)
{
	auto crc32 = [](const eString &bytes) {
		uint32_t crc = 0xffffffffu;
		for (unsigned char c : bytes)
		{
			crc ^= c;
			for (int k = 0; k < 8; ++k)
				crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
		}
		return crc ^ 0xffffffffu;
	};
	auto be32 = [](uint32_t v) {
		eString s;
		for (int shift = 24; shift >= 0; shift -= 8)
			s += char((v >> shift) & 0xff);
		return s;
	};
	auto chunk = [&](const char *type, const eString &data) {
		eString body = eString(type) + data;
		return be32(uint32_t(data.size())) + body + be32(crc32(body));
	};

	eString raw;
	for (int y = 0; y < height; ++y)
	{
		raw += char(0); // no filter
		for (int x = 0; x < width; ++x)
			raw += eString("\x20\x80\x20\xff", 4);
	}
	uint32_t a = 1, b = 0;
	for (unsigned char c : raw)
	{
		a = (a + c) % 65521;
		b = (b + a) % 65521;
	}
	eString zlib("\x78\x01", 2);
	for (size_t pos = 0; pos < raw.size() || pos == 0; pos += 65535)
	{
		size_t len = std::min<size_t>(65535, raw.size() - pos);
		bool last = pos + len >= raw.size();
		zlib += char(last ? 1 : 0);
		zlib += char(len & 0xff);
		zlib += char(len >> 8);
		zlib += char(~len & 0xff);
		zlib += char((~len >> 8) & 0xff);
		zlib += raw.substr(pos, len);
		if (last)
			break;
	}
	zlib += be32((b << 16) | a);

	eString header = be32(uint32_t(width)) + be32(uint32_t(height)) + eString("\x08\x06\x00\x00\x00", 5);
	return eString("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) + chunk("IEND", "");
}

class MainWindowTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		resetPluginGlobals();
		eQUELTEngine *engine = eQUELTEngine::getInstance();
		engine->status = STATUS_IDLE;
		// The engine outlives every test; its store must not carry a server set over.
		engine->config = eQUELTConfig();
		host.loop();

		eAVSwitch *avs = eAVSwitch::getInstance();
		avs->volume = 10;
		avs->mute = false;
		eServiceInterface *services = eServiceInterface::getInstance();
		services->service = eServiceReference();
		services->running = false;

		writeSettings("", "quelt");
		// VLC lists the start directory, so the first listing keeps the connection.
		vlc.setBrowse("/media/films", VlcDouble::browseXml({{"directory", "..", "/media/films/..", 0}}));
		host.writeFile(skinFile, "<skin>\n"
								 "<value name=\"fontsize\" value=\"22\"/>\n"
								 "<color name=\"std_dred\" value=\"#aa0000\"/>\n"
								 "<color name=\"std_dgreen\" value=\"#00aa00\"/>\n"
								 "<color name=\"std_dyellow\" value=\"#aaaa00\"/>\n"
								 "<color name=\"std_dblue\" value=\"#0000aa\"/>\n"
								 "<color name=\"volume_left\" value=\"#10e010\"/>\n"
								 "<color name=\"volume_right\" value=\"#303030\"/>\n"
								 "</skin>\n");
		ASSERT_EQ(0, skin.load(skinFile));
		skin.makeActive();
	}

	void TearDown() override { eSkin::setActive(nullptr); }

	// Set 1 is VLC's double; the user name and password as given.
	void writeSettings(const eString &user, const eString &pass)
	{
		host.writeFile("/var/tuxbox/config/quelt.xml",
			eString::format("<vlc>\n"
							"<server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\" user=\"%s\" "
							"pass=\"%s\"/>\n"
							"<config name=\"set1\" startdir=\"/media/films\" cddrive=\"D:\"/>\n"
							"</vlc>\n",
				vlc.webPort(), vlc.streamPort(), user.c_str(), pass.c_str()));
	}

	// More skin entries; they replace those of the same name.
	void addSkin(const eString &entries)
	{
		const char *extra = "/share/tuxbox/enigma/skins/test/extra.xml";
		host.writeFile(extra, "<skin>\n" + entries + "</skin>\n");
		ASSERT_EQ(0, skin.load(extra));
	}

	void writePicture(const eString &receiverPath, int width, int height)
	{
		host.writeFile(receiverPath, pngFile(width, height));
	}

	// Runs the loop until the virtual clock reaches ms: the timer guard's first run
	// (after one second) sets the volumes itself, so tests that set them run past it.
	void runUntil(int64_t ms)
	{
		for (int i = 0; i < 100 && host.clock().nowMs() < ms; ++i)
			host.loop().processOneEvent(true);
		ASSERT_GE(host.clock().nowMs(), ms);
	}

	std::unique_ptr<eQUELT> openWindow()
	{
		auto window = std::make_unique<eQUELT>();
		window->show();
		return window;
	}

	// The requests that reached VLC's web interface as commands.
	std::vector<eString> commands() const
	{
		std::vector<eString> out;
		for (const eString &target : vlc.targets())
			if (target.find("command=") != eString::npos)
				out.push_back(target.mid(target.find("command=") + 8));
		return out;
	}

	static std::vector<eString> stopCommands() { return {"pl_stop", "pl_empty", "pl_empty"}; }

	static int intKey(const char *key, int fallback)
	{
		int value = fallback;
		eConfig::getInstance()->getKey(key, value);
		return value;
	}

	static bool stringKey(const char *key, eString &value) { return eConfig::getInstance()->getKey(key, value) == 0; }

	HostFixture host;
	VlcDouble vlc;
	eSkin skin;
	Watchdog watchdog{120, "main window test"};
};
} // namespace mainwindowtest

#endif
