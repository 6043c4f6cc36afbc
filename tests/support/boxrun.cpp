#include "support/boxrun.h"

#include <fstream>

namespace fs = std::filesystem;

namespace
{
void writeWholeFile(const fs::path &path, const std::string &text)
{
	fs::create_directories(path.parent_path());
	std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
} // namespace

ProcessResult runHeadlessBox(const fs::path &box, const fs::path &root, const fs::path &work,
	const std::string &script, const fs::path &shots, int timeoutSeconds)
{
	writeWholeFile(work / "keys", script);
	// Under the sanitizers: the font libraries keep their caches to the end of
	// the process, and the thread in which pango starts fontconfig shares them
	// in ways the race detector cannot see through. Neither is the box's doing.
	writeWholeFile(work / "lsan.supp", "leak:libfontconfig.so\n");
	writeWholeFile(work / "tsan.supp", "race:libfontconfig.so\nrace:libpangoft2-1.0.so\nrace:libglib-2.0.so\n");
	return runProcess({box.string(), "--root", root.string(), "--headless", "--keys", (work / "keys").string(),
						  "--snapshots", shots.string()},
		timeoutSeconds,
		{"LSAN_OPTIONS=suppressions=" + (work / "lsan.supp").string(),
			"TSAN_OPTIONS=suppressions=" + (work / "tsan.supp").string()});
}
