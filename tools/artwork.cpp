// artwork: draws the project's pictures into a folder laid out as the box root:
//   artwork OUTPUT-FOLDER SETTINGS-FILE
// The list icons for file types are the ones the settings file names in the
// "pic" attributes of its setups, so the two never drift apart.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "artworkpainter.h"
#include "artworkpictures.h"
#include "mviencoder.h"

namespace
{
const char *const pictureFolder = "/var/tuxbox/config/enigma/pictures/quelt";
const char *const skinImageFolder = "/share/tuxbox/enigma/skins/images";

bool makeFolders(const std::string &path)
{
	for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1))
	{
		std::string part = slash == std::string::npos ? path : path.substr(0, slash);
		if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
		{
			std::fprintf(stderr, "artwork: cannot make %s: %s\n", part.c_str(), std::strerror(errno));
			return false;
		}
		if (slash == std::string::npos)
			return true;
	}
}

bool draw(const std::string &path, int w, int h, const std::function<void(ArtworkPainter &)> &picture)
{
	ArtworkPainter p(w, h);
	picture(p);
	return p.writePng(path);
}

bool isAudio(const std::string &ext)
{
	static const std::set<std::string> audio = {"MP3", "OGG", "WAV", "WMA", "FLAC", "AAC", "M4A", "MPA"};
	return audio.count(ext) != 0;
}

// The value of name="..." in an element's start tag, or an empty string.
std::string attribute(const std::string &tag, const std::string &name)
{
	std::string key = " " + name + "=\"";
	size_t start = tag.find(key);
	if (start == std::string::npos)
		return std::string();
	start += key.size();
	size_t stop = tag.find('"', start);
	return stop == std::string::npos ? std::string() : tag.substr(start, stop - start);
}

// Draws the icon of every setup in the settings file that names a picture.
bool setupIcons(const std::string &settings, const std::string &folder)
{
	std::ifstream in(settings, std::ios::binary);
	if (!in)
	{
		std::fprintf(stderr, "artwork: cannot read %s\n", settings.c_str());
		return false;
	}
	std::stringstream text;
	text << in.rdbuf();
	std::string xml = text.str();
	std::set<std::string> done;
	for (size_t at = xml.find("<setup"); at != std::string::npos; at = xml.find("<setup", at + 1))
	{
		size_t end = xml.find('>', at);
		std::string tag = xml.substr(at, end == std::string::npos ? std::string::npos : end - at);
		std::string name = attribute(tag, "name"), ext = attribute(tag, "ext"), pic = attribute(tag, "pic");
		if (pic.empty() || pic.find('/') != std::string::npos || !done.insert(pic).second)
			continue;
		bool ok;
		if (name == "DVD" || name == "VCD")
			ok = draw(folder + "/" + pic, ArtworkPictures::iconSize, ArtworkPictures::iconSize,
				[&](ArtworkPainter &p) { ArtworkPictures::discIcon(p, name); });
		else
			ok = draw(folder + "/" + pic, ArtworkPictures::iconSize, ArtworkPictures::iconSize, [&](ArtworkPainter &p) {
				ArtworkPictures::fileIcon(p, ext, isAudio(ext) ? 0x23955a : 0x2a62c8);
			});
		if (!ok)
			return false;
	}
	return true;
}
} // namespace

int main(int argc, char **argv)
{
	if (argc != 3)
	{
		std::fprintf(stderr, "usage: artwork OUTPUT-FOLDER SETTINGS-FILE\n");
		return 64;
	}
	std::string out = argv[1];
	std::string pictures = out + pictureFolder, skinImages = out + skinImageFolder;
	if (!makeFolders(pictures) || !makeFolders(skinImages))
		return 1;
	using namespace ArtworkPictures;
	const int icon = iconSize;
	bool ok = setupIcons(argv[2], pictures) && draw(pictures + "/folder.png", icon, icon, folder) &&
		  draw(pictures + "/goup.png", icon, icon, goUp) && draw(pictures + "/default.png", icon, icon, placeholder) &&
		  draw(pictures + "/error.png", icon, icon, error) && draw(pictures + "/help.png", icon, icon, help) &&
		  draw(pictures + "/v_progress.png", 300, 16, progressBar) && draw(pictures + "/quelt.png", 120, 48, logo) &&
		  draw(skinImages + "/volume.png", 200, 40, volumeDisplay) &&
		  draw(skinImages + "/g_volume.png", 150, 12, volumeBar);
	if (ok)
	{
		ArtworkPainter still(720, 576);
		background(still);
		ok = writeMvi(still.surface(), pictures + "/quelt.mvi");
	}
	return ok ? 0 : 1;
}
