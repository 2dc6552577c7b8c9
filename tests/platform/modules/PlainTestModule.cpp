// A small shared library without resources, loaded by the platform tests.
extern "C" int PlainTestModuleAnchor()
{
	return 2;
}
