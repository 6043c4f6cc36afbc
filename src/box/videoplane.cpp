#include "box/videoplane.h"

#include <algorithm>
#include <cmath>

#include "box/testcard.h"
#include "host/gpainter.h"

VideoPlane::VideoPlane() = default;

VideoPlane::~VideoPlane()
{
	if (m_testCard)
		cairo_surface_destroy(m_testCard);
}

void VideoPlane::setLiveService(bool playing, const eString &name)
{
	if (playing && m_testCard && name != m_liveName)
	{
		cairo_surface_destroy(m_testCard);
		m_testCard = nullptr;
	}
	m_live = playing;
	if (playing)
		m_liveName = name;
}

void VideoPlane::showStill(DecodedPicture picture)
{
	m_still = std::move(picture);
	m_hasStill = true;
	m_decodedNewer = false;
}

void VideoPlane::decodedPictureArrived()
{
	m_decodedNewer = true;
}

VideoPlane::Source VideoPlane::source() const
{
	if (m_live)
		return Source::testCard;
	if (m_decodedNewer && m_decodedSource)
		return Source::decoded;
	if (m_hasStill)
		return Source::still;
	return Source::black;
}

eRect VideoPlane::fit(int width, int height, int aspectNum, int aspectDen)
{
	if (width <= 0 || height <= 0)
		return eRect();
	double aspect = aspectNum > 0 && aspectDen > 0 ? double(aspectNum) / aspectDen : double(width) / height;
	// The screen is 720x576 shown at 4:3: a wider picture gets bars above and
	// below, a narrower one bars at the sides.
	const double screenAspect = 4.0 / 3.0;
	int w = kScreenWidth, h = kScreenHeight;
	if (aspect > screenAspect)
		h = int(std::lround(kScreenHeight * screenAspect / aspect));
	else
		w = int(std::lround(kScreenWidth * aspect / screenAspect));
	w = std::max(1, w);
	h = std::max(1, h);
	return eRect((kScreenWidth - w) / 2, (kScreenHeight - h) / 2, w, h);
}

void VideoPlane::render(cairo_t *cr)
{
	cairo_save(cr);
	cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
	cairo_set_source_rgb(cr, 0, 0, 0);
	cairo_paint(cr);
	cairo_restore(cr);
	switch (source())
	{
	case Source::testCard:
		if (!m_testCard)
		{
			m_testCard = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kScreenWidth, kScreenHeight);
			cairo_t *card = cairo_create(m_testCard);
			TestCard::draw(card, m_liveName);
			cairo_destroy(card);
		}
		cairo_save(cr);
		cairo_set_source_surface(cr, m_testCard, 0, 0);
		cairo_paint(cr);
		cairo_restore(cr);
		break;
	case Source::decoded:
		// A copy is taken only when the screen is composed, not for every decoded picture.
		if (m_decodedSource(m_decoded))
			drawPicture(cr, m_decoded);
		break;
	case Source::still:
		drawPicture(cr, m_still);
		break;
	case Source::black:
		break;
	}
}

void VideoPlane::drawPicture(cairo_t *cr, const DecodedPicture &picture)
{
	if (picture.width <= 0 || picture.height <= 0 || picture.argb.size() < size_t(picture.width) * picture.height)
		return;
	eRect target = fit(picture.width, picture.height, picture.aspectNum, picture.aspectDen);
	// The decoder's pixels are opaque, so they are valid premultiplied ARGB as they are.
	cairo_surface_t *image = cairo_image_surface_create_for_data(
		reinterpret_cast<unsigned char *>(const_cast<uint32_t *>(picture.argb.data())), CAIRO_FORMAT_ARGB32,
		picture.width, picture.height, picture.width * 4);
	cairo_save(cr);
	cairo_rectangle(cr, target.x, target.y, target.w, target.h);
	cairo_clip(cr);
	cairo_translate(cr, target.x, target.y);
	cairo_scale(cr, double(target.w) / picture.width, double(target.h) / picture.height);
	cairo_set_source_surface(cr, image, 0, 0);
	cairo_pattern_t *pattern = cairo_get_source(cr);
	cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
	cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
	cairo_paint(cr);
	cairo_restore(cr);
	cairo_surface_destroy(image);
}
