# Decoders: real files, including ones written by sox and oggenc. malloc and realloc are wrapped so the
# test can see the largest block the decoders ask for.
zk_test(codecs_wav_test SOURCES wav_test.cpp LIBS zk_codecs)
target_link_options(codecs_wav_test PRIVATE -Wl,--wrap=malloc -Wl,--wrap=realloc)
