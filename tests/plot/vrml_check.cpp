// An independent reader of VRML 1.0 worlds for the export tests: reads the
// file with Coin and prints what it found, one "name count" per line
// (faces, line pieces, points, coordinates, lights, cameras). Exit status
// 0 when the file is a VRML 1.0 world Coin reads without error, 1
// otherwise.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoCamera.h>
#include <Inventor/nodes/SoCoordinate3.h>
#include <Inventor/nodes/SoIndexedFaceSet.h>
#include <Inventor/nodes/SoIndexedLineSet.h>
#include <Inventor/nodes/SoLight.h>
#include <Inventor/nodes/SoPointSet.h>
#include <Inventor/nodes/SoSeparator.h>

#include <cstdio>

namespace {

bool readErrors = false;

void onReadError(const SoError* error, void*)
{
    readErrors = true;
    std::fprintf(stderr, "%s\n", error->getDebugString().getString());
}

SoPathList& find(SoNode* root, SoType type, SoSearchAction& search)
{
    search.reset();
    search.setType(type);
    search.setInterest(SoSearchAction::ALL);
    search.apply(root);
    return search.getPaths();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vrml_check FILE.wrl\n");
        return 2;
    }
    SoDB::init();
    SoReadError::setHandlerCallback(onReadError, nullptr);
    SoInput in;
    if (!in.openFile(argv[1])) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    const bool vrml1 = in.isFileVRML1();
    SoSeparator* root = SoDB::readAll(&in);
    if (!root || readErrors || !vrml1) {
        std::fprintf(stderr, "%s\n", !vrml1 ? "not a VRML 1.0 file" : "not readable");
        return 1;
    }
    root->ref();
    SoSearchAction search;
    long faces = 0, pieces = 0, points = 0, coordinates = 0;
    SoPathList& f = find(root, SoIndexedFaceSet::getClassTypeId(), search);
    for (int i = 0; i < f.getLength(); ++i) {
        auto* set = static_cast<SoIndexedFaceSet*>(f[i]->getTail());
        for (int k = 0; k < set->coordIndex.getNum(); ++k)
            faces += set->coordIndex[k] < 0 ? 1 : 0;
    }
    SoPathList& l = find(root, SoIndexedLineSet::getClassTypeId(), search);
    for (int i = 0; i < l.getLength(); ++i) {
        auto* set = static_cast<SoIndexedLineSet*>(l[i]->getTail());
        int run = 0;
        for (int k = 0; k < set->coordIndex.getNum(); ++k) {
            if (set->coordIndex[k] < 0) {
                run = 0;
                continue;
            }
            pieces += run > 0 ? 1 : 0;
            ++run;
        }
    }
    SoPathList& p = find(root, SoPointSet::getClassTypeId(), search);
    points = p.getLength();
    SoPathList& c = find(root, SoCoordinate3::getClassTypeId(), search);
    for (int i = 0; i < c.getLength(); ++i)
        coordinates += static_cast<SoCoordinate3*>(c[i]->getTail())->point.getNum();
    long lights = find(root, SoLight::getClassTypeId(), search).getLength();
    long cameras = find(root, SoCamera::getClassTypeId(), search).getLength();
    std::printf("faces %ld\nlines %ld\npointsets %ld\ncoordinates %ld\nlights %ld\ncameras %ld\n", faces, pieces,
                points, coordinates, lights, cameras);
    root->unref();
    return 0;
}
