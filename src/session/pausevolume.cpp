#include "engine/engine.h"
#include "host/emessagebox.h"
#include "host/eprogress.h"
#include "host/gpixmap.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"

// VLC, the worker threads and the decoder all stop: the status holds the threads
// (the feeder pauses the decoder), the command pauses VLC.
void eQUELT::doPause()
{
	pauseBox->show();
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	engine->status = STATUS_PAUSED;
	engine->control("pause", "nofile", 1);
}

// VLC plays on and the stream comes over a new connection at once; the threads
// and the decoder go on at the next supervision tick, which ends the pause.
void eQUELT::releasePause()
{
	eQUELTEngine::getInstance()->control("play", "nofile", 1);
	paused = true;
}

// The receiver announces every change of its volume; the plug-in takes it as its
// own volume and shows it for four seconds.
void eQUELT::updateVolume(int mute, int volume)
{
	if (mute)
		volume = 63;
	quelt_volume = volu = volume;

	if (isGemini)
	{
		if (geminiVolumePixmap)
		{
			int w = geminiVolumePixmap->width();
			int h = geminiVolumePixmap->height();
			if (!volumeIsVisible)
				volumeGraphic.show();
			geminiVolume.hide();
			// Integer steps in this order: the width first loses its last two digits.
			geminiVolume.resize(eSize(((w / 100) * (63 - volume) * 100) / 63, h));
			geminiVolume.show();
			volumeIsVisible = true;
		}
	}
	else
	{
		if (!volumeIsVisible)
			volumeGraphic.show();
		volumeBar->hide();
		volumeBar->setPerc((63 - volume) * 100 / 63);
		volumeBar->show();
		volumeIsVisible = true;
	}
	volumeTimer->start(4000, false);
}

// The timer keeps running: a timeout while the display is hidden changes nothing.
void eQUELT::hideVolumeBar()
{
	volumeGraphic.hide();
	geminiVolume.hide();
	volumeBar->hide();
	volumeIsVisible = false;
}
