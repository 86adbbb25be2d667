int Upper();

int Lower()
{
#ifdef CALL_UPWARD
    return Upper() + 1;
#else
    return 1;
#endif
}
