#include <climits>

#include "host/eprogress.h"
#include "host/log.h"
#include "infobar/equeltinfo.h"

namespace
{
enum class Kind
{
	plain,
	label,
	progress,
};

struct Element
{
	const char *name;
	Kind kind;
};

// The elements the infobar makes and names before the skin is built, in the
// order it makes them. "fileinfos" lives inside "fileInfoBar".
const Element ownElements[] = {
	{"dvrInfoBar", Kind::label},
	{"dvbInfoBar", Kind::plain},
	{"fileInfoBar", Kind::plain},
	{"fileinfos", Kind::label},
	{"recStatus", Kind::label},
	{"progress_event", Kind::progress},
	{"progress_bar", Kind::progress},
};

// The elements looked up in the built infobar, in lookup order: that is the
// order of the warnings for missing ones.
const Element layoutElements[] = {
	{"g_snr_progress", Kind::progress},
	{"g_agc_progress", Kind::progress},
	{"g_ber_progress", Kind::progress},
	{"snr_num", Kind::label},
	{"agc_num", Kind::label},
	{"ber_num", Kind::label},
	{"Picon", Kind::label},
	{"snr_text", Kind::label},
	{"agc_text", Kind::label},
	{"ber_text", Kind::label},
	{"ch_number", Kind::label},
	{"cam_info", Kind::label},
	{"ch_name", Kind::label},
	{"e_now_title", Kind::label},
	{"e_next_title", Kind::label},
	{"date", Kind::label},
	{"fc_text", Kind::label},
	{"e_now_duration", Kind::label},
	{"e_next_duration", Kind::label},
	{"e_now_time", Kind::label},
	{"e_next_time", Kind::label},
	{"description", Kind::label},
	{"button_red_enabled", Kind::label},
	{"button_green_enabled", Kind::label},
	{"button_yellow_enabled", Kind::label},
	{"button_blue_enabled", Kind::label},
	{"button_red_disabled", Kind::label},
	{"button_green_disabled", Kind::label},
	{"button_yellow_disabled", Kind::label},
	{"button_blue_disabled", Kind::label},
	{"pro_name", Kind::label},
	{"videoformat", Kind::label},
	{"red_text", Kind::label},
	{"green_text", Kind::label},
	{"yellow_text", Kind::label},
	{"blue_text", Kind::label},
	{"osd_dolby_on", Kind::label},
	{"osd_crypt_on", Kind::label},
	{"osd_format_on", Kind::label},
	{"osd_dolby_off", Kind::label},
	{"osd_crypt_off", Kind::label},
	{"osd_format_off", Kind::label},
	{"beta_emm", Kind::label},
	{"beta_ecm", Kind::label},
	{"beta_no", Kind::label},
	{"irdeto_emm", Kind::label},
	{"irdeto_ecm", Kind::label},
	{"irdeto_no", Kind::label},
	{"seca_emm", Kind::label},
	{"seca_ecm", Kind::label},
	{"seca_no", Kind::label},
	{"via_emm", Kind::label},
	{"via_ecm", Kind::label},
	{"via_no", Kind::label},
	{"nagra_emm", Kind::label},
	{"nagra_ecm", Kind::label},
	{"nagra_no", Kind::label},
	{"cw_emm", Kind::label},
	{"cw_ecm", Kind::label},
	{"cw_no", Kind::label},
	{"nds_emm", Kind::label},
	{"nds_ecm", Kind::label},
	{"nds_no", Kind::label},
	{"conax_emm", Kind::label},
	{"conax_ecm", Kind::label},
	{"conax_no", Kind::label},
	{"fulltime", Kind::label},
	{"time", Kind::label},
};

// Where a layout element waits before the build. No layout places a widget
// there, so a widget still there afterwards was not in the layout.
const ePoint unplaced(INT_MIN, INT_MIN);

eWidget *make(Kind kind, eWidget *parent)
{
	switch (kind)
	{
	case Kind::label:
		return new eLabel(parent, 0, 0, "eLabel");
	case Kind::progress:
		return new eProgress(parent, 0);
	case Kind::plain:
		break;
	}
	return new eWidget(parent, 0);
}
} // namespace

void eQUELTInfo::createOwnElements()
{
	for (const Element &e : ownElements)
	{
		eWidget *parent = eString(e.name) == "fileinfos" ? elements["fileInfoBar"] : this;
		eWidget *w = make(e.kind, parent);
		w->setName(e.name);
		w->hide();
		elements[e.name] = w;
	}
}

void eQUELTInfo::prepareLayoutElements()
{
	for (const Element &e : layoutElements)
	{
		eWidget *w = make(e.kind, this);
		w->setName(e.name);
		w->move(unplaced);
		elements[e.name] = w;
	}
}

void eQUELTInfo::lookUpLayoutElements()
{
	for (const Element &e : layoutElements)
	{
		eString name(e.name);
		if (name == "fulltime" || name == "time")
			continue; // the clocks are looked up once the rest is filled
		lookUpLayoutElement(e.name);
	}
}

void eQUELTInfo::lookUpLayoutElement(const char *name)
{
	eWidget *w = element(name);
	if (!w)
		return;
	bool inLayout = !(w->getPosition() == unplaced) || !(w->getSize() == eSize()) || !w->getProperties().empty();
	if (inLayout)
		return;
	eWarning("skin has undefined element: %s", name);
	w->move(ePoint(0, 0));
}

eWidget *eQUELTInfo::element(const eString &name) const
{
	auto it = elements.find(name);
	return it == elements.end() ? nullptr : it->second;
}

eProgress *eQUELTInfo::progress(const eString &name) const
{
	return dynamic_cast<eProgress *>(element(name));
}

void eQUELTInfo::setElementText(const char *name, const eString &text)
{
	if (eWidget *w = element(name))
		w->setText(text);
}

void eQUELTInfo::showElement(const char *name)
{
	if (eWidget *w = element(name))
		w->show();
}

void eQUELTInfo::hideElement(const char *name)
{
	if (eWidget *w = element(name))
		w->hide();
}
