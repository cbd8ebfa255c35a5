// A customisation library that answers every request with "not here".

extern "C" {
int VidazLoadString(unsigned, char* buffer, int size) {
    if (buffer && size > 0)
        buffer[0] = '\0';
    return 0;
}
int VidazLoadBitmap(const char*, const unsigned char**, int*) {
    return 0;
}
}
