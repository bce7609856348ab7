#include "Designs.h"
namespace picgen {
Picture openingOverlay(Studio&) { return Picture(512, 512); }
Picture closingOverlay(Studio&) { return Picture(512, 512); }
Picture flightLogo(Studio&) { return Picture(512, 512); }
Picture nameLogo(Studio&, int) { return Picture(512, 512); }
Picture scroller(Studio&) { return Picture(1024, 512, Rgba(0,0,0,1)); }
Picture scrollOver(Studio&) { return Picture(512, 512, Rgba(0,0,0,1)); }
}
