// A shared library that is no add-on: it lacks the two exports, so the host must refuse it.
extern "C" __attribute__((visibility("default"))) int NotAnAddOn()
{
	return 1;
}
