#!/usr/bin/python3
"""Reads the Touchstone files that network_skrf_tests wrote with scikit-rf and
compares each with scikit-rf's own line model: DefinedGammaZ0 built from the
same gamma and Zc (pseudo-waves, as Zc is complex), line(L, 'm'), renormalised
to the files' reference impedance; a pair from its even and odd lines, and its
mixed-mode form from scikit-rf's se2gmm.

usage: skrf_check.py FOLDER
Each CASE.model in FOLDER holds "length_m z0" and then per frequency
"f_hz Re(gamma_e) Im(gamma_e) Re(Zc_e) Im(Zc_e) Re(gamma_o) Im(gamma_o) Re(Zc_o) Im(Zc_o)";
beside it any of CASE_v1.s2p, CASE_v2.s2p (of the even line), CASE_v1.s4p,
CASE_v2.s4p and CASE_v2mm.s4p; the caller counts the "ok" lines.
Prints a line per file ("ok FILE ERROR", "fail FILE WHY" or "note FILE WHAT")
and exits 0 when every file agrees within 1e-6, 1 when one does not, 77 when
scikit-rf is missing.
"""
import glob
import os
import sys
import warnings

TOLERANCE = 1e-6

# Keywords scikit-rf 0.15.4's reader does not know: it takes every line it
# does not recognise as numbers, and fails on them.
UNREAD_KEYWORDS = ("[two-port data order]", "[mixed-mode order]")


def main():
    folder = sys.argv[1]
    warnings.simplefilter("ignore")
    try:
        import numpy as np
        # scikit-rf 0.15.4 still uses the aliases that numpy 1.24 removed.
        for name, value in (("complex", complex), ("float", float), ("int", int), ("bool", bool)):
            if name not in np.__dict__:
                setattr(np, name, value)
        import skrf as rf
    except ImportError as e:
        print("skip: scikit-rf cannot be imported (%s)" % e)
        return 77

    def read(path):
        """The network scikit-rf reads, reading a copy without the keywords it
        does not know when it cannot read the file itself."""
        try:
            return rf.Network(path)
        except Exception as e:  # noqa: BLE001 - any failure is reported
            first = "%s: %s" % (type(e).__name__, str(e).splitlines()[0] if str(e) else "")
        with open(path) as f:
            lines = f.readlines()
        dropped = [l.strip() for l in lines if l.strip().lower().startswith(UNREAD_KEYWORDS)]
        kept = [l for l in lines if not l.strip().lower().startswith(UNREAD_KEYWORDS)]
        stem, ext = os.path.splitext(path)
        copy = stem + ".known" + ext
        with open(copy, "w") as f:
            f.writelines(kept)
        print("note %s scikit-rf %s cannot read it (%s); read without %s"
              % (os.path.basename(path), rf.__version__, first, ", ".join(dropped)))
        return rf.Network(copy)

    failed = False
    for model in sorted(glob.glob(os.path.join(folder, "*.model"))):
        case = model[:-len(".model")]
        with open(model) as f:
            length, z0 = (float(v) for v in f.readline().split())
            rows = np.array([[float(v) for v in line.split()] for line in f if line.strip()])
        f_hz = rows[:, 0]
        ge, ze, go, zo = (rows[:, k] + 1j * rows[:, k + 1] for k in (1, 3, 5, 7))
        frequency = rf.Frequency.from_f(f_hz, unit="hz")

        def line(gamma, zc):
            media = rf.media.DefinedGammaZ0(frequency=frequency, z0=zc, gamma=gamma, Z0=zc)
            n = media.line(length, "m")
            n.renormalize(z0, s_def="pseudo")
            return n.s

        se = line(ge, ze)
        so = line(go, zo)
        pair = np.zeros((len(f_hz), 4, 4), dtype=complex)
        for i in range(4):
            for j in range(4):
                sign = 1.0 if i // 2 == j // 2 else -1.0
                pair[:, i, j] = 0.5 * (se[:, i % 2, j % 2] + sign * so[:, i % 2, j % 2])
        # se2gmm pairs ports (0, 1) and (2, 3); the files pair (1, 3) and (2, 4).
        order = [0, 2, 1, 3]
        mm = rf.Network(frequency=frequency, s=pair[:, order][:, :, order], z0=z0)
        mm.se2gmm(p=2, z0_mm=np.tile([2.0 * z0, 2.0 * z0, 0.5 * z0, 0.5 * z0], (len(f_hz), 1)))

        for suffix, want in (("_v1.s2p", se), ("_v2.s2p", se), ("_v1.s4p", pair), ("_v2.s4p", pair),
                             ("_v2mm.s4p", mm.s)):
            path = case + suffix
            name = os.path.basename(path)
            if not os.path.exists(path):
                continue  # the callers count the files that agree
            try:
                n = read(path)
            except Exception as e:  # noqa: BLE001
                print("fail %s not read: %s: %s" % (name, type(e).__name__, e))
                failed = True
                continue
            f_err = float(np.max(np.abs(n.f - f_hz) / f_hz))
            err = float(np.max(np.abs(n.s - want))) if n.s.shape == want.shape else float("inf")
            z0_err = float(np.max(np.abs(n.z0 - z0)))
            if f_err > 1e-12 or err > TOLERANCE or z0_err > 0.0:
                print("fail %s frequency error %.3g, S error %.3g, z0 error %.3g"
                      % (name, f_err, err, z0_err))
                failed = True
            else:
                print("ok %s %.3g" % (name, err))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
