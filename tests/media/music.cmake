# A tune streamed in slices on real OpenAL Soft, its mixed output captured by the wave writer and set
# against the same file decoded whole. Needs oggenc.
zk_test(media_music_test SOURCES music_test.cpp LIBS zk_media LABELS audio)
