#include "python/failures.h"

#include <string>

namespace {

const char* classNameOf(BoardFault fault) {
    switch (fault) {
        case BoardFault::NoBoard:
            return "NoBoardError";
        case BoardFault::NoPermission:
            return "BoardPermissionError";
        case BoardFault::NotAcknowledged:
            return "NotAcknowledgedError";
        case BoardFault::ReadBackDiffers:
            return "ReadBackError";
        case BoardFault::BadChoice:
            return "Error";  // exceptionFor() makes it the caller's ValueError
        case BoardFault::LinkLost:
            break;
    }
    return "LinkLostError";
}

py::object addClass(py::module_& module, const char* name, const char* doc, const py::handle& bases) {
    const std::string qualified = std::string("tolvane.") + name;
    auto type = py::reinterpret_steal<py::object>(
        PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases.ptr(), nullptr));
    if (!type) throw py::error_already_set();
    module.add_object(name, type);
    return type;
}

// The classes are the module's attributes; looking them up there keeps no state of our own.
py::object instanceOf(const char* className, const QString& message) {
    return py::module_::import("tolvane").attr(className)(message.toStdString());
}

}  // namespace

void addExceptionClasses(py::module_& module) {
    const py::object error =
        addClass(module, "Error",
                 "A board operation failed. str(error) is the line tolvane-cli prints for "
                 "it; the subclasses say what failed.",
                 PyExc_Exception);
    addClass(module, "NoBoardError", "No evaluation board was found, or not the one asked for.", error);
    addClass(module, "BoardPermissionError",
             "The board is there, but the system does not let this user open it: install the board's udev "
             "rule. Also a PermissionError.",
             py::make_tuple(error, py::handle(PyExc_PermissionError)));
    addClass(module, "NotAcknowledgedError", "The chip did not answer on its I2C address.", error);
    addClass(module, "ReadBackError",
             "A register reads back other than was written to it. Its `registers` attribute holds the "
             "registers as read back, {\"R0\": 0x80, ...}.",
             error);
    addClass(module, "LinkLostError", "The board stopped answering, or was unplugged.", error);
}

py::object exceptionFor(const BoardFailure& failure) {
    if (failure.fault == BoardFault::BadChoice)  // the arguments, not the board
        return py::reinterpret_borrow<py::object>(PyExc_ValueError)(failure.message.toStdString());
    return instanceOf(classNameOf(failure.fault), failure.message);
}

py::object moduleError(const QString& message) {
    return instanceOf("Error", message);
}

void raise(const py::object& exception) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
    throw py::error_already_set();
}
