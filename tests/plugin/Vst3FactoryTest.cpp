// The VST3 module as a VST3 host scans it: ModuleEntry, then the factory
// from GetPluginFactory lists the plugin with its class info, through the
// VST3 interfaces DPF implements (its own headers, no SDK).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "travesty/factory.h"

namespace {

const std::string kModule =
    KYL_BINARY_DIR "/vst3/kylvander-synth.vst3/Contents/x86_64-linux/kylvander-synth.so";

TEST(Vst3Plugin, TheFactoryListsThePluginWithItsClassInfo) {
  void* module = dlopen(kModule.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  using Entry = bool (*)(void*);
  using GetFactory = v3_plugin_factory** (*)();
  const auto moduleEntry = reinterpret_cast<Entry>(dlsym(module, "ModuleEntry"));
  const auto moduleExit = reinterpret_cast<bool (*)()>(dlsym(module, "ModuleExit"));
  const auto getFactory = reinterpret_cast<GetFactory>(dlsym(module, "GetPluginFactory"));
  ASSERT_TRUE(moduleEntry && moduleExit && getFactory);
  ASSERT_TRUE(moduleEntry(module));

  v3_plugin_factory** factory = getFactory();
  ASSERT_NE(factory, nullptr);
  v3_factory_info info{};
  ASSERT_EQ(v3_cpp_obj(factory)->get_factory_info(factory, &info), V3_OK);
  EXPECT_STREQ(info.vendor, "Kylvander");

  const int32_t classes = v3_cpp_obj(factory)->num_classes(factory);
  int found = -1;
  for (int32_t i = 0; i < classes; ++i) {
    v3_class_info c{};
    ASSERT_EQ(v3_cpp_obj(factory)->get_class_info(factory, i, &c), V3_OK);
    if (std::string(c.category) == "Audio Module Class") {
      EXPECT_STREQ(c.name, "Kylvander Synth");
      found = i;
    }
  }
  ASSERT_GE(found, 0) << "no audio module among " << classes << " classes";

  v3_plugin_factory_2** factory2 = nullptr;
  ASSERT_EQ(v3_cpp_obj_query_interface(factory, v3_plugin_factory_2_iid, &factory2), V3_OK);
  v3_class_info_2 c2{};
  ASSERT_EQ(v3_cpp_obj(factory2)->get_class_info_2(factory2, found, &c2), V3_OK);
  EXPECT_STREQ(c2.name, "Kylvander Synth");
  EXPECT_STREQ(c2.sub_categories, "Instrument|Synth|Stereo");
  EXPECT_STREQ(c2.vendor, "Kylvander");
  EXPECT_STREQ(c2.version, "1.0.0");
  v3_cpp_obj_unref(factory2);

  v3_cpp_obj_unref(factory);
  EXPECT_TRUE(moduleExit());
  dlclose(module);
}

}  // namespace
