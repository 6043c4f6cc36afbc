#include "host/paths.h"

namespace
{
eString &rootDir()
{
	static eString r("/");
	return r;
}
} // namespace

namespace hostpaths
{
void setRoot(const eString &root)
{
	eString r = root.empty() ? eString("/") : root;
	while (r.size() > 1 && r.back() == '/')
		r.pop_back();
	rootDir() = r;
}

const eString &root()
{
	return rootDir();
}
} // namespace hostpaths

eString hostPath(const eString &receiverPath)
{
	if (receiverPath.empty() || receiverPath[0] != '/')
		return receiverPath;
	const eString &r = rootDir();
	if (r == "/")
		return receiverPath;
	return r + receiverPath;
}
