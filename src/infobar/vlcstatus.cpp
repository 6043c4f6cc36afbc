#include "infobar/vlcstatus.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "host/xmltree.h"
#include "vlc/etcp.h"
#include "vlc/parsexml.h"
#include "vlc/vlcdialect.h"

namespace
{
void readStream(const XMLTreeNode *category, VlcStatus &status)
{
	for (const XMLTreeNode *info = category->GetChild(); info; info = info->GetNext())
	{
		const char *name = info->GetAttributeValue("name");
		if (std::strcmp(info->GetName(), "info") != 0 || !name)
			continue;
		if (std::strcmp(name, "Codec") == 0)
			status.codec = activeVlcDialect().codecName(info->GetData());
		else if (std::strcmp(name, activeVlcDialect().pictureSizeInfo()) == 0)
			status.pictureSize = info->GetData();
	}
}
} // namespace

bool VlcStatus::fetch()
{
	eString answer;
	eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer);
	if (answer.empty())
		return false;
	std::unique_ptr<XMLTreeParser> tree(parseXml(answer.c_str()));
	if (!tree)
		return false;
	read(tree->RootNode());
	return true;
}

void VlcStatus::read(const XMLTreeNode *root)
{
	if (!root)
		return;
	for (const XMLTreeNode *node = root->GetChild(); node; node = node->GetNext())
	{
		const char *name = node->GetName();
		if (std::strcmp(name, "time") == 0)
			time = toInt(node->GetData());
		else if (std::strcmp(name, "length") == 0)
			length = toInt(node->GetData());
		else if (std::strcmp(name, "position") == 0)
			position = activeVlcDialect().positionPercent(node->GetData());
		else if (std::strcmp(name, "information") == 0)
		{
			for (const XMLTreeNode *category = node->GetChild(); category; category = category->GetNext())
			{
				const char *categoryName = category->GetAttributeValue("name");
				if (std::strcmp(category->GetName(), "category") == 0 && categoryName &&
					std::strcmp(categoryName, "Stream 0") == 0)
					readStream(category, *this);
			}
		}
	}
}

int VlcStatus::toInt(const char *text)
{
	if (!text)
		return 0;
	long long value = std::strtoll(text, nullptr, 10);
	return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}
