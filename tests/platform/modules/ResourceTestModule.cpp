// A small shared library that carries compiled resources, loaded by the resource manager's
// tests. The function only gives the tests an address inside the library.
extern "C" int ResourceTestModuleAnchor()
{
	return 1;
}
