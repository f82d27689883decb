/* Linked into the sanitized programs that open a GL driver: nothing is ever
 * unloaded, so the leak checker at exit can still name the library behind
 * each allocation (tests/support/lsan.supp lists the drivers' own). */
int dlclose(void* handle)
{
    (void)handle;
    return 0;
}
