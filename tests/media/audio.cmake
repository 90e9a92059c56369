# The engine on real OpenAL Soft; the tests point ALSOFT_CONF at a config of their own that selects the
# wave writer, so what was mixed can be measured.
zk_test(media_audio_test SOURCES audio_test.cpp LIBS zk_media LABELS audio)

# The engine with no usable OpenAL device (the test names a driver that does not exist), on the game's sounds.
zk_test(media_audio_silent_test SOURCES audio_silent_test.cpp LIBS zk_media LABELS audio)
if(TARGET zk_data)
  add_dependencies(media_audio_silent_test zk_data)
endif()
