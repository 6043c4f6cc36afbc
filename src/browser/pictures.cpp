#include "browser/fileextension.h"
#include "engine/engine.h"
#include "plugin/equelt.h"

// No check that the picture exists: an entry whose picture does not load is
// simply drawn without one.
eString eQUELT::getPicture(eString name)
{
	return eQUELTEngine::getInstance()->config.getVideoParms("File", fileExtension(name)).pic;
}

// Disc chapters: 3 for a DVD, 1 or 2 for the (S)VCD kinds, which share a setup.
eString eQUELT::getPicture(int kind)
{
	eQUELTConfig &settings = eQUELTEngine::getInstance()->config;
	switch (kind)
	{
	case 3:
		return settings.getVideoParms("DVD", "NONE").pic;
	case 1:
	case 2:
		return settings.getVideoParms("VCD", "NONE").pic;
	default:
		return "error.png";
	}
}
