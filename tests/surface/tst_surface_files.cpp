#include "TestMain.h"
class tst_SurfaceFiles : public QObject { Q_OBJECT };
ORVANE_TEST_MAIN(tst_SurfaceFiles)
#include "tst_surface_files.moc"
