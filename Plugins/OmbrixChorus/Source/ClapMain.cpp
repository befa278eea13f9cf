#include "ClapEntry.h"
#include "ClapPlugin.h"
#include "OmbrixChorus.h"

// The factory CLAP hosts get from clap_entry: Ombrix Chorus, with its
// factory bank loaded and program 0 applied in every new instance.
const clap_plugin_factory_t* GetPluginFactory()
{
    return ClapPlugin<OmbrixChorus>::GetFactory();
}
