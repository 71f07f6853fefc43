#include "shared/ase_writer.h"

#include <cmath>
#include <cstdio>

#include "shared/replace_file.h"

namespace {

// Four decimals, as exporters write them; a negative zero prints as 0.0000.
std::string real(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", v);
    std::string s = text;
    if (s == "-0.0000") s = "0.0000";
    return s;
}

std::string triple(Point3 p) { return real(p.x) + "\t" + real(p.y) + "\t" + real(p.z); }

std::string padded(int value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%*d", width, value);
    return text;
}

Point3 faceNormal(const TriMesh& mesh, const Triangle& t) {
    const Point3 a = mesh.vertices[t.a], b = mesh.vertices[t.b], c = mesh.vertices[t.c];
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    Point3 n{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0) n = {n.x / length, n.y / length, n.z / length};
    return n;
}

// Vertex normals of a smooth mesh: the sum of the normals of the faces around
// a vertex, normalised.
std::vector<Point3> vertexNormals(const TriMesh& mesh) {
    std::vector<Point3> sums(mesh.vertices.size(), Point3{0, 0, 0});
    for (const Triangle& t : mesh.faces) {
        const Point3 n = faceNormal(mesh, t);
        for (int v : {t.a, t.b, t.c}) sums[v] = {sums[v].x + n.x, sums[v].y + n.y, sums[v].z + n.z};
    }
    for (Point3& s : sums) {
        const double length = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
        if (length > 0) s = {s.x / length, s.y / length, s.z / length};
    }
    return sums;
}

void header(std::string& out, const std::string& comment) {
    out += "*3DSMAX_ASCIIEXPORT\t200\n";
    out += "*COMMENT \"" + comment + "\"\n";
    out += "*SCENE {\n"
           "\t*SCENE_FILENAME \"zumber\"\n"
           "\t*SCENE_FIRSTFRAME 0\n"
           "\t*SCENE_LASTFRAME 100\n"
           "\t*SCENE_FRAMESPEED 30\n"
           "\t*SCENE_TICKSPERFRAME 160\n"
           "\t*SCENE_BACKGROUND_STATIC 0.0000\t0.0000\t0.0000\n"
           "\t*SCENE_AMBIENT_STATIC 0.0000\t0.0000\t0.0000\n"
           "}\n"
           "*MATERIAL_LIST {\n"
           "\t*MATERIAL_COUNT 0\n"
           "}\n";
}

void nodeTransform(std::string& out, const TriMesh& mesh) {
    out += "\t*NODE_TM {\n"
           "\t\t*NODE_NAME \"" + mesh.name + "\"\n"
           "\t\t*INHERIT_POS 0 0 0\n"
           "\t\t*INHERIT_ROT 0 0 0\n"
           "\t\t*INHERIT_SCL 0 0 0\n"
           "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000\n"
           "\t\t*TM_ROW1 0.0000\t1.0000\t0.0000\n"
           "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000\n"
           "\t\t*TM_ROW3 0.0000\t0.0000\t0.0000\n"
           "\t\t*TM_POS 0.0000\t0.0000\t0.0000\n"
           "\t\t*TM_ROTAXIS 0.0000\t0.0000\t0.0000\n"
           "\t\t*TM_ROTANGLE 0.0000\n"
           "\t\t*TM_SCALE 1.0000\t1.0000\t1.0000\n"
           "\t\t*TM_SCALEAXIS 0.0000\t0.0000\t0.0000\n"
           "\t\t*TM_SCALEAXISANG 0.0000\n"
           "\t}\n";
}

void vertexList(std::string& out, const TriMesh& mesh) {
    out += "\t\t*MESH_VERTEX_LIST {\n";
    for (size_t i = 0; i < mesh.vertices.size(); ++i)
        out += "\t\t\t*MESH_VERTEX " + padded(static_cast<int>(i), 4) + "\t" + triple(mesh.vertices[i]) + "\n";
    out += "\t\t}\n";
}

void faceList(std::string& out, const TriMesh& mesh) {
    const std::string smoothing = mesh.smooth ? "1" : "";
    out += "\t\t*MESH_FACE_LIST {\n";
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const Triangle& t = mesh.faces[i];
        out += "\t\t\t*MESH_FACE " + padded(static_cast<int>(i), 4) + ":    A: " + padded(t.a, 4) +
               " B: " + padded(t.b, 4) + " C: " + padded(t.c, 4) + " AB: " + padded(t.ab, 4) +
               " BC: " + padded(t.bc, 4) + " CA: " + padded(t.ca, 4) + "\t *MESH_SMOOTHING " + smoothing +
               " \t*MESH_MTLID 0\n";
    }
    out += "\t\t}\n";
}

void normals(std::string& out, const TriMesh& mesh) {
    const std::vector<Point3> smoothNormals = vertexNormals(mesh);
    out += "\t\t*MESH_NORMALS {\n";
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const Triangle& t = mesh.faces[i];
        const Point3 n = faceNormal(mesh, t);
        out += "\t\t\t*MESH_FACENORMAL " + std::to_string(i) + "\t" + triple(n) + "\n";
        for (int v : {t.a, t.b, t.c})
            out += "\t\t\t\t*MESH_VERTEXNORMAL " + std::to_string(v) + "\t" +
                   triple(mesh.smooth ? smoothNormals[v] : n) + "\n";
    }
    out += "\t\t}\n";
}

}  // namespace

std::string aseText(const TriMesh& mesh, const std::string& comment) {
    std::string out;
    header(out, comment);
    out += "*GEOMOBJECT {\n\t*NODE_NAME \"" + mesh.name + "\"\n";
    nodeTransform(out, mesh);
    out += "\t*MESH {\n\t\t*TIMEVALUE 0\n";
    out += "\t\t*MESH_NUMVERTEX " + std::to_string(mesh.vertices.size()) + "\n";
    out += "\t\t*MESH_NUMFACES " + std::to_string(mesh.faces.size()) + "\n";
    vertexList(out, mesh);
    faceList(out, mesh);
    normals(out, mesh);
    out += "\t}\n"
           "\t*PROP_MOTIONBLUR 0\n"
           "\t*PROP_CASTSHADOW 1\n"
           "\t*PROP_RECVSHADOW 1\n"
           "\t*WIREFRAME_COLOR 0.3400\t0.8800\t1.0000\n"
           "}\n";
    return out;
}

bool writeAseFile(const std::string& path, const TriMesh& mesh, const std::string& comment, std::string& error) {
    return replaceFile(path, aseText(mesh, comment), error);
}
