#include "browser/elistboxentryquelt.h"

#include "host/eskin.h"
#include "host/gpainter.h"

// The base is made without the list and the entry appended once it is complete,
// so the list never sees a half-built entry.
eListBoxEntryQUELT::eListBoxEntryQUELT(eListBox<eListBoxEntryQUELT> *list, eString text, gPixmap *picture, int index)
	: eListBoxEntryText(nullptr, text, nullptr, 0, eString()), entryText(text), pixmap(picture), index(index)
{
	if (list)
		list->append(this, false, false);
}

// The base releases the laid-out text; the picture belongs to whoever loaded it.
eListBoxEntryQUELT::~eListBoxEntryQUELT() = default;

const eString &eListBoxEntryQUELT::redraw(gPainter *rc, const eRect &rect, gColor coActiveB, gColor coActiveF,
	gColor coNormalB, gColor coNormalF, int highlited)
{
	if (!pixmap)
		return entryText;

	// The picture's colours are adapted to the screen on every draw: the screen's
	// palette may have changed since the last one.
	{
		gPixmapDC pictureDC(pixmap);
		gPainter picturePainter(pictureDC);
		picturePainter.mergePalette(*gFBDC::getInstance()->getPixmap());
	}

	drawEntryRect(rc, rect, coActiveB, coActiveF, coNormalB, coNormalF, highlited);

	// x 10 of the list itself, not of the row: every row's picture stands in one column.
	rc->blit(*pixmap, ePoint(10, rect.y + (rect.h - pixmap->height()) / 2), eRect(), gPainter::BF_ALPHA_TEST);

	if (!para)
	{
		para = new eTextPara(eRect(0, 0, 40, 50));
		eSkin *skin = eSkin::getActive();
		para->setFont(skin ? skin->queryFont("eListBox.EntryText.normal") : gFont());
		para->renderString(entryText, 0);
		eRect box = para->getBoundBox();
		yOffs = (rect.h - box.h) / 2 - box.y;
	}
	rc->renderPara(*para, ePoint(rect.x + pixmap->width() + 20, rect.y + yOffs));
	return entryText;
}
