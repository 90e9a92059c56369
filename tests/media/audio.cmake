# Decoders: real files, including ones written by sox and oggenc. malloc and realloc are wrapped so the
# test can see the largest block the decoders ask for.
zk_test(media_wav_test SOURCES wav_test.cpp LIBS zk_codecs)
target_link_options(media_wav_test PRIVATE -Wl,--wrap=malloc -Wl,--wrap=realloc)

# The engine on real OpenAL Soft; the tests point ALSOFT_CONF at a config of their own that selects the
# wave writer, so what was mixed can be measured.
zk_test(media_audio_test SOURCES audio_test.cpp LIBS zk_media LABELS audio)

# The engine with no usable OpenAL device (the test names a driver that does not exist).
zk_test(media_audio_silent_test SOURCES audio_silent_test.cpp LIBS zk_media LABELS audio)
