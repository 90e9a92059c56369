# The audio module over the real engine (OpenAL Soft's null output).
zk_test(framework_audio_test SOURCES audio_test.cpp LIBS zk_framework LABELS audio)
