#ifndef SUPPORT_BOXRUN_H
#define SUPPORT_BOXRUN_H

// One headless run of the real quelt-box with a key script, as the tests that
// drive the box make it.

#include <filesystem>
#include <string>

#include "support/process.h"
#include "support/testfiles.h"

// Runs box headless on root with script as its key script (written to
// work/keys) and its snapshots going to shots, for at most timeoutSeconds.
// Under the sanitizers the font libraries' own doings are suppressed (the
// suppression files go to work too).
ProcessResult runHeadlessBox(const std::filesystem::path &box, const std::filesystem::path &root,
	const std::filesystem::path &work, const std::string &script, const std::filesystem::path &shots,
	int timeoutSeconds);

#endif
