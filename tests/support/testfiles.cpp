#include "support/testfiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

fs::path testBuildDir()
{
	const char *named = getenv("QUELT_BUILD_DIR");
	if (named && *named)
		return named;
	std::error_code error;
	fs::path self = fs::read_symlink("/proc/self/exe", error);
	return error ? fs::path() : self.parent_path().parent_path();
}

std::string readWholeFile(const fs::path &path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream text;
	text << in.rdbuf();
	return text.str();
}

std::string readSourceFile(const std::string &relative)
{
	const char *source = getenv("QUELT_SOURCE_DIR");
	return readWholeFile(fs::path(source ? source : ".") / relative);
}
