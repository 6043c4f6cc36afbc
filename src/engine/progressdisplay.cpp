// The pre-buffering progress display: a bar picture that grows from the left and
// a percentage text. The GUI thread is busy in the start sequence while the
// display changes; every change goes through the widgets' invalidation, which
// has the screen repainted at once.

#include "engine/engine.h"

#include "host/elabel.h"
#include "host/eprogress.h"
#include "host/gpainter.h"
#include "host/gpixmap.h"

namespace
{
const char *const barPicture = "/var/tuxbox/config/enigma/pictures/quelt/v_progress.png";

eString percentText(int percent)
{
	return eString::format("%02d%%", percent);
}
} // namespace

void eQUELTEngine::createProgressDisplay()
{
	// A display left over from an earlier attempt is replaced, not leaked.
	deleteProgressDisplay();
	++progressDisplaySerial;

	s_statp = loadPNG(barPicture);

	epT = new eLabel(nullptr);
	epT->move(ePoint(320, 460));
	epT->resize(eSize(60, 30));
	epT->setProperty("align", "center");
	epT->setProperty("vcenter", "");
	epT->setText(percentText(0));

	v_progress = new eLabel(nullptr);
	s_stat = new eProgress(nullptr);

	if (s_statp)
	{
		int w = s_statp->width();
		int h = s_statp->height();
		gPixmapDC pictureDC(s_statp);
		gPainter painter(pictureDC);
		painter.mergePalette(gFBDC::getInstance()->getPixmap());

		v_progress->setPixmap(s_statp);
		v_progress->setBlitFlags(1);
		v_progress->move(ePoint(630 - w, 500));
		v_progress->resize(eSize(0, h));
		v_progress->show();

		s_stat->setPerc(0);
		s_stat->resize(eSize(w - 13, h + 6));
		s_stat->move(ePoint(624 - w, 497));
		s_stat->show();
	}
	epT->show();
}

void eQUELTEngine::hideProgressDisplay()
{
	if (s_statp)
	{
		if (v_progress)
			v_progress->hide();
		if (s_stat)
			s_stat->hide();
	}
	if (epT)
		epT->hide();
}

void eQUELTEngine::deleteProgressDisplay()
{
	delete s_stat;
	s_stat = nullptr;
	delete s_statp;
	s_statp = nullptr;
	delete epT;
	epT = nullptr;
	delete v_progress;
	v_progress = nullptr;
}

void eQUELTEngine::updateBufferingInfos(int percent)
{
	if (s_statp && v_progress)
	{
		v_progress->hide();
		v_progress->resize(eSize(s_statp->width() / 100 * percent, s_statp->height()));
		v_progress->show();
	}
	if (epT)
		epT->setText(percentText(percent));
}
