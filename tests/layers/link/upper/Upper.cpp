int Lower();

int Upper()
{
    return Lower() + 1;
}
