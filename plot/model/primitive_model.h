#pragma once
// `PrimitiveModel`: a mesh model made of lists of graphics primitives, as
// the volume builder makes it.

#include "plot/model/mesh_model.h"

namespace halvex {

class PrimitiveModel final : public MeshModel {
public:
    explicit PrimitiveModel(platform::Ref<OwnerLink> owner) : MeshModel(std::move(owner)) {}

    PrimitiveModel* AsPrimitiveModel() { return this; }
    PrimitiveModel* AsPrimitiveList() { return this; }
};

} // namespace halvex
