// Each library shows its function, as a layer library shows what its export macro marks.
__attribute__((visibility("default"))) int Upper();

__attribute__((visibility("default"))) int Lower()
{
#ifdef CALL_UPWARD
    return Upper() + 1;
#else
    return 1;
#endif
}
