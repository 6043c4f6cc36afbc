#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "host/gpainter.h"
#include "host/gpixmap.h"
#include "host/paths.h"
#include "host/xmltree.h"
#include "infobar/equeltinfo.h"
#include "infobar/vlcstatus.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"

namespace
{
const char *const logoConfiguration = "/var/tuxbox/config/picon.xml";
const char *const ownLogo = "/var/tuxbox/config/enigma/pictures/quelt/quelt.png";
const char *const receiverLogo = "/var/tuxbox/config/enigma/pictures/picon/default.png";

// An entry may leave out a coordinate; the position keeps what it had for it.
void takePosition(const XMLTreeNode *entry)
{
	if (const char *x = entry->GetAttributeValue("posx"))
		posx = VlcStatus::toInt(x);
	if (const char *y = entry->GetAttributeValue("posy"))
		posy = VlcStatus::toInt(y);
}
} // namespace

int eQUELT::readLogoConf()
{
	FILE *file = std::fopen(hostPath(logoConfiguration).c_str(), "rt");
	if (!file)
		return -1;
	XMLTreeParser parser("ISO-8859-1");
	char piece[4];
	for (;;)
	{
		size_t got = std::fread(piece, 1, sizeof(piece), file);
		bool last = got < sizeof(piece);
		if (!parser.Parse(piece, static_cast<int>(got), last))
		{
			std::fclose(file);
			return -1;
		}
		if (last)
			break;
	}
	std::fclose(file);
	const XMLTreeNode *root = parser.RootNode();
	if (!root)
		return -1;

	// A position for the active skin wins over the general one, wherever in the
	// file either stands; among several of a kind the last one counts.
	for (const XMLTreeNode *group = root->GetChild(); group; group = group->GetNext())
	{
		if (std::strcmp(group->GetName(), "values") == 0)
		{
			for (const XMLTreeNode *entry = group->GetChild(); entry; entry = entry->GetNext())
				if (std::strcmp(entry->GetName(), "framebuffer") == 0 && !formatted_skin)
					takePosition(entry);
		}
		else if (std::strcmp(group->GetName(), "pskins") == 0)
		{
			for (const XMLTreeNode *entry = group->GetChild(); entry; entry = entry->GetNext())
			{
				const char *name = entry->GetAttributeValue("name");
				if (std::strcmp(entry->GetName(), "skin") != 0 || !name || active_skin != name)
					continue;
				takePosition(entry);
				formatted_skin = true;
			}
		}
	}
	return 0;
}

void eQUELTInfo::showLogo()
{
	std::unique_ptr<gPixmap> picture(loadPNG(ownLogo));
	if (!picture)
		picture.reset(loadPNG(receiverLogo));
	if (!picture)
		return;

	gPixmapDC pictureDC(picture.get());
	gPainter painter(pictureDC, eRect(0, 0, 0, 0));
	painter.mergePalette(*gFBDC::getInstance()->getPixmap());

	logoLabel.setPixmap(picture.get());
	logoPicture = std::move(picture);
	// The picture sits two pixels above the configured point.
	int top = static_cast<int>(std::max<long long>(static_cast<long long>(posy) - 2, INT_MIN));
	logoLabel.move(ePoint(posx, top));
	logoLabel.resize(logoPicture->size());
	logoLabel.setPixmapPosition(ePoint(0, 0));
	logoLabel.setBlitFlags(gPainter::BF_ALPHA_TEST);
	logoLabel.show();
}
