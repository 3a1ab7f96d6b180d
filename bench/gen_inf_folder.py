#!/usr/bin/env python3
"""Generates the data of the benchmarks, deterministically (fixed seed):

- an INF folder like a long-used Windows machine's: about 1,000 setup files of many
  vendors and device classes, from a few hundred bytes to a few MB (about 150 MB in
  all), a third of them UTF-16LE with a byte-order mark, with their precompiled .PNF
  companions beside some of them; two of them are the vendor's (one of each encoding);
- Uninstall.ini with 12 configured names of each kind;
- a large machine for the start-up benchmark: 1,000 local printers (50 of them on
  the vendor's drivers), 30 port monitors, 20 print processors.

Usage: gen_inf_folder.py OUT_DIR [--files N] [--total-mb M]
Writes OUT_DIR/inf/*, OUT_DIR/package/Uninstall.ini, OUT_DIR/machine.txt and
OUT_DIR/expect.txt (what the benchmarks check their results against). Nothing is
rewritten when OUT_DIR/stamp.txt already records the same arguments.
"""
import argparse
import math
import os
import random
import shutil

SEED = 20240611
VENDOR = "QORVELIN"  # the manufacturer section of the vendor's INF files
VENDOR_MODELS = ["QORVELIN LP-%d" % n for n in (2200, 2210, 2400, 3100, 3120, 5000)]
REMOVED_PRINTER = "QORVELIN LP-2400"  # the USB printer whose removal the scan mimics

OTHER_VENDORS = [
    "Aldmere", "Brakton", "Corvane", "Delphor", "Estrova", "Falkner", "Gantry Imaging",
    "Halvorsen", "Iridel", "Jorvik Systems", "Kestrel Office", "Lumora", "Marlowe",
    "Norvent", "Ostrel", "Pellucid", "Quenby", "Rastafel", "Sorrel Devices", "Tamsin",
    "Umbrin", "Valcourt", "Wexley", "Yarrow Labs", "Zephan",
]
CLASSES = [
    ("Printer", "{4D36E979-E325-11CE-BFC1-08002BE10318}", 0.35),
    ("Net", "{4D36E972-E325-11CE-BFC1-08002BE10318}", 0.15),
    ("Display", "{4D36E968-E325-11CE-BFC1-08002BE10318}", 0.10),
    ("USB", "{36FC9E60-C465-11CF-8056-444553540000}", 0.10),
    ("HIDClass", "{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}", 0.08),
    ("MEDIA", "{4D36E96C-E325-11CE-BFC1-08002BE10318}", 0.08),
    ("System", "{4D36E97D-E325-11CE-BFC1-08002BE10318}", 0.08),
    ("Image", "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}", 0.06),
]
WORDS = ("color mono duplex tray photo draft laser inkjet office network wireless pro "
         "plus series adapter controller bridge audio camera scanner port hub device "
         "driver service express compact wide label thermal matrix plotter").split()


def pick_class(rng):
    x = rng.random()
    for name, guid, weight in CLASSES:
        x -= weight
        if x <= 0:
            return name, guid
    return CLASSES[0][:2]


def ident(rng, n=8):
    return "".join(rng.choice("ABCDEFGHJKLMNPQRSTUVWXYZ0123456789") for _ in range(n))


def title(rng, k):
    return " ".join(rng.choice(WORDS).capitalize() for _ in range(k))


class InfWriter:
    """Builds the lines of one INF file up to a target number of characters."""

    def __init__(self, rng):
        self.rng = rng
        self.lines = []
        self.chars = 0

    def add(self, line=""):
        self.lines.append(line)
        self.chars += len(line) + 2

    def section(self, name):
        self.add()
        self.add("[%s]" % name)


def header(w, cls, guid, provider, catalog):
    rng = w.rng
    w.add("; %s" % catalog.replace(".cat", ".inf"))
    w.add(";")
    w.add("; Copyright (c) %s. All rights reserved." % provider)
    w.add()
    w.add("[Version]")
    w.add('Signature="$Windows NT$"')
    w.add("Class=%s" % cls)
    w.add("ClassGuid=%s" % guid)
    w.add("Provider=%%%s%%" % provider.replace(" ", ""))
    w.add("DriverVer=%02d/%02d/%d,%d.%d.%d.%d" % (rng.randint(1, 12), rng.randint(1, 28),
                                                  rng.randint(2006, 2023), rng.randint(1, 10),
                                                  rng.randint(0, 99), rng.randint(0, 9999),
                                                  rng.randint(0, 999)))
    w.add("CatalogFile=%s" % catalog)
    w.add("PnpLockdown=1")


def manufacturer(w, mfg_key, mfg_section):
    w.section("Manufacturer")
    w.add("%%%s%%=%s,NTx86,NTamd64" % (mfg_key, mfg_section))


def model_section(w, name, models, quoted):
    w.section(name)
    for model, install, hwid in models:
        key = '"%s"' % model if quoted else "%%%s%%" % model.replace(" ", "").replace("-", "")
        w.add("%s = %s, %s" % (key, install, hwid))


def other_inf(rng, target_chars, encoding_note):
    """A file of another vendor: models, install sections, file lists and strings."""
    cls, guid = pick_class(rng)
    vendor = rng.choice(OTHER_VENDORS)
    mfg = vendor.upper().replace(" ", "_")
    w = InfWriter(rng)
    header(w, cls, guid, vendor, "%s%s.cat" % (vendor.split()[0].lower(), ident(rng, 4).lower()))
    manufacturer(w, vendor.replace(" ", ""), mfg)
    model_count = max(1, min(400, int(target_chars / 2500)))
    quoted = cls == "Printer" and rng.random() < 0.6
    models = []
    for i in range(model_count):
        model = "%s %s %d" % (vendor, title(rng, 2), 100 + i * 10)
        bus = "USBPRINT" if cls == "Printer" else rng.choice(["PCI", "USB", "HID", "ACPI"])
        models.append((model, "Inst_%s_%d" % (ident(rng, 5), i),
                       "%s\\VID_%04X&PID_%04X" % (bus, rng.randint(0, 0xFFFF),
                                                 rng.randint(0, 0xFFFF))))
    # The smallest files (class installers, plain extensions) list one undecorated section.
    for suffix in ("", ".NTx86", ".NTamd64") if target_chars > 1500 else ("",):
        model_section(w, mfg + suffix, models, quoted)
    files = ["%s%s.%s" % (rng.choice(["drv", "ui", "res", "cfg", "lib"]), ident(rng, 4).lower(),
                          rng.choice(["dll", "sys", "gpd", "ini", "dat", "ppd"]))
             for _ in range(max(2, model_count // 2))]
    for _, install, _ in models:
        w.section(install)
        w.add("CopyFiles=%s_Files" % install)
        w.add("DataFile=%s" % rng.choice(files))
        w.add("DataSection=Common_Data")
        w.add("Include=ntprint.inf")
        w.add("Needs=UNIDRV.OEM, TTFSUB.OEM")
        w.section(install + ".Services")
        w.add("AddService = , 0x00000002")
        w.section(install + "_Files")
        for f in rng.sample(files, min(len(files), rng.randint(2, 6))):
            w.add(f)
        if w.chars > target_chars * 0.6:
            break
    w.section("DestinationDirs")
    w.add("DefaultDestDir=66000")
    w.section("SourceDisksNames.amd64")
    w.add('1 = %%DiskName%%,,,\\amd64')
    w.section("SourceDisksFiles")
    for f in files:
        w.add("%s = 1,,%d" % (f, rng.randint(1000, 900000)))
    # Localised texts make up the bulk of big files, as in real driver packages.
    w.section("Strings")
    w.add('%s="%s"' % (vendor.replace(" ", ""), vendor))
    w.add('DiskName="%s Driver Disk"' % vendor)
    for model, _, _ in models:
        w.add('%s="%s"' % (model.replace(" ", "").replace("-", ""), model))
    n = 0
    while w.chars < target_chars:
        n += 1
        if n % 40 == 0:
            w.section("Strings.%04x" % rng.choice([0x0407, 0x040c, 0x0410, 0x0411, 0x0804]))
        if n % 7 == 0:
            w.add("; %s" % title(rng, rng.randint(3, 9)))
        else:
            w.add('STR_%s_%d = "%s"' % (ident(rng, 6), n, title(rng, rng.randint(2, 12))))
    w.add("; %s" % encoding_note)
    return w.lines


def vendor_inf(rng, target_chars, version):
    """The vendor's own file: its models as quoted keys in its manufacturer sections."""
    w = InfWriter(rng)
    header(w, "Printer", CLASSES[0][1], VENDOR.capitalize(), "qvprn%s.cat" % version)
    manufacturer(w, VENDOR, VENDOR)
    models = [(m, "QV_" + m.split("-")[1], "USBPRINT\\QORVELIN" + m.split("-")[1] + "A1B2")
              for m in VENDOR_MODELS]
    model_section(w, VENDOR, models, True)
    model_section(w, VENDOR + ".NTamd64", models, True)
    for _, install, _ in models:
        w.section(install)
        w.add("CopyFiles=QV_Files")
        w.add("DataFile=QVLP.GPD")
        w.add("Include=ntprint.inf")
    w.section("QV_Files")
    w.add("QVLP.GPD")
    w.add("QVUI.DLL")
    w.section("Strings")
    w.add('%s="%s"' % (VENDOR, VENDOR.capitalize()))
    n = 0
    while w.chars < target_chars:
        n += 1
        w.add('QV_TEXT_%d = "%s"' % (n, title(rng, rng.randint(2, 10))))
    return w.lines


def file_sizes(rng, count, total_bytes):
    """Log-normal sizes (many small files, a few of several MB) scaled to the total."""
    lo, hi = 300, 5 * 1024 * 1024
    raw = [math.exp(rng.gauss(0, 1.7)) for _ in range(count)]
    scale = total_bytes / sum(raw)
    for _ in range(30):  # clipping moves the sum: rescale until it settles
        sizes = [min(hi, max(lo, int(r * scale))) for r in raw]
        scale *= total_bytes / sum(sizes)
    return sizes


def encode(lines, utf16, crlf):
    text = ("\r\n" if crlf else "\n").join(lines) + ("\r\n" if crlf else "\n")
    if utf16:
        return b"\xff\xfe" + text.encode("utf-16-le")
    return text.encode("ascii")


def write_inf_folder(out, count, total_bytes):
    rng = random.Random(SEED)
    folder = os.path.join(out, "inf")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    sizes = file_sizes(rng, count, total_bytes)
    vendor_slots = {count // 3: False, (2 * count) // 3: True}  # index: UTF-16
    total = 0
    names = []
    for i, size in enumerate(sizes):
        utf16 = vendor_slots.get(i, rng.random() < 1 / 3)
        chars = size // 2 if utf16 else size
        if i in vendor_slots:
            lines = vendor_inf(rng, min(chars, 60000), i)
        else:
            lines = other_inf(rng, chars, "utf-16" if utf16 else "ansi")
        name = "oem%d.inf" % i if rng.random() < 0.8 else "%s%03d.inf" % (
            rng.choice(["prn", "net", "usb", "hid", "wdm", "mdm"]), i)
        names.append(name)
        data = encode(lines, utf16, crlf=rng.random() < 0.9)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        total += len(data)
        if rng.random() < 0.5:  # the precompiled companion: not an INF, never read
            with open(os.path.join(folder, name[:-3] + "PNF"), "wb") as f:
                f.write(bytes(rng.getrandbits(8) for _ in range(rng.randint(200, 4000))))
    return total, [names[i] for i in sorted(vendor_slots)]


def write_config(out):
    package = os.path.join(out, "package")
    os.makedirs(package, exist_ok=True)
    lines = ["; Uninstall configuration of the benchmark's vendor package", "[ZTPRINTER]",
             "PRINTERNUM=12", "MANUFACTURER=%s" % VENDOR]
    for kind, count_key, name_key, names in (
            ("ZTPRINTER", None, "PRINTERNAME", ["QV Driver %d" % i for i in range(1, 13)]),
            ("ZTMONITOR", "MonitorNUM", "MONITORNAME", ["QV Port %d" % i for i in range(1, 13)]),
            ("ZTPROC", "PROCNUM", "PROCNAME", ["QVPrint%d" % i for i in range(1, 13)])):
        if count_key:
            lines += ["", "[%s]" % kind, "%s=12" % count_key]
        for n, value in enumerate(names, 1):
            lines.append("%s%s=%s" % (name_key, chr(0x30 + n), value))
    for i in range(1, 13):
        lines += ["", "[QVPort%d.Win7]" % i, "MonitorPDLLName=qvport%d.dll" % i,
                  "MONitorPUIDLLName=qvpui%d.dll" % i]
        lines += ["", "[QVPrint%d.Win7]" % i, "ProcessorDllName=qvproc%d.dll" % i]
    with open(os.path.join(package, "Uninstall.ini"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
    write_language(package)


def write_language(package):
    """English texts of the package, and the setup switch that selects them."""
    texts = {
        "Message": [
            ("IDS_ABOUTBOX", "&About Uninstall..."),
            ("IDS_ERR_GETSYSDIR", "Cannot read the current folder."),
            ("IDS_ERR_INVALID", "The package folder cannot be read."),
            ("IDS_ERR_NOINI", "Uninstall.ini is missing."),
            ("IDS_SELECTPRN1", "Select the components to remove."),
            ("IDS_DELETING1", "Deleting %s ..."),
            ("IDS_DELETING2", "Deleting printer %s ..."),
            ("IDS_USING", "%s is in use."),
            ("IDS_ERR_UNINSTALL", "Cannot remove %s."),
            ("IDS_SUCCESS", "%s was removed."),
            ("IDS_ERR_OPENPRN", "Cannot open printer %s."),
            ("IDS_ERR_GETPRNINFO", "Cannot read the printer's settings."),
            ("IDS_ERR_ALLOC", "Out of memory."),
            ("IDS_ERR_HAVEJOB1", "%s still has print jobs."),
            ("IDS_ERR_HAVEJOB2", "Printer %s still has print jobs."),
            ("IDS_ERR_DELPRINTER", "Cannot delete the printer."),
            ("IDS_DRVDELETING", "Deleting the driver of %s ..."),
            ("IDS_DRV_SUCCESS", "The driver was removed."),
            ("IDS_ERR_DRVUSING", "The driver is in use."),
            ("IDS_ERR_DRVDEL", "Cannot delete the driver."),
            ("IDS_DELETING3", "Deleting %s ..."),
            ("IDS_DRV_SUCCESS1", "Removed."),
        ],
        "Uninstall": [
            ("Note", "Check the printers, port monitors and print processors to remove."),
            ("Uninstall", "&Uninstall"), ("Select", "&Select all"), ("Exit", "E&xit"),
            ("USBuninstall", "Remove the USB driver"), ("Title", "Printer Uninstall"),
            ("Close", "Close"), ("CaptionName", "Printer Uninstall"),
        ],
        "Reboot": [
            ("Note1", "Restart the computer now?"), ("Note2", "The removal is complete."),
            ("Note3", "Save your work first."), ("Yes", "&Yes"), ("No", "&No"),
        ],
        "About": [
            ("Title", "About Printer Uninstall"), ("Version", "Version 1.0"),
            ("Copyright", "Copyright (C) the vendor"), ("OK", "OK"),
        ],
    }
    lines = []
    for section, pairs in texts.items():
        lines.append("[%s]" % section)
        lines += ["%s=%s" % pair for pair in pairs]
        lines.append("")
    os.makedirs(os.path.join(package, "language"), exist_ok=True)
    with open(os.path.join(package, "language", "uninstall.ini"), "wb") as f:
        f.write("\r\n".join(lines).encode("ascii"))
    os.makedirs(os.path.join(package, "DRVCONFIG"), exist_ok=True)
    with open(os.path.join(package, "DRVCONFIG", "setup.ini"), "wb") as f:
        f.write(b"[DEVICENAME]\r\nLANGUAGE=1\r\n")


def write_machine(out):
    """One component a line, fields separated by tabs:
    printer NAME PORT DRIVER / monitor NAME / processor NAME."""
    rng = random.Random(SEED + 1)
    lines = []
    for i in range(1000):
        if i % 20 == 7:  # 50 of the vendor's printers, spread through the enumeration
            n = (i // 20) % 12 + 1
            port = "USB%03d" % (i // 40 % 9 + 1) if i % 40 == 7 else "ZTIP_10.0.%d.%d" % (i // 250, i % 250)
            lines.append("printer\tQV Office %d\t%s\tQV Driver %d" % (i, port, n))
        else:
            vendor = rng.choice(OTHER_VENDORS)
            lines.append("printer\t%s %s %d\t%s\t%s %s Class Driver" % (
                vendor, title(rng, 2), i, rng.choice(["LPT1:", "USB%03d" % (i % 100), "IP_%d" % i]),
                vendor, title(rng, 1)))
    for i in range(30):
        lines.append("monitor\t%s" % ("QV Port %d" % (i // 3 + 1) if i % 3 == 0 else
                                     "%s Port Monitor %d" % (rng.choice(OTHER_VENDORS), i)))
    for i in range(20):
        lines.append("processor\t%s" % ("QVPrint%d" % (i // 4 + 1) if i % 4 == 0 else
                                       "%sPrint%d" % (rng.choice(OTHER_VENDORS).split()[0], i)))
    with open(os.path.join(out, "machine.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--files", type=int, default=1000)
    parser.add_argument("--total-mb", type=float, default=150)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    stamp_path = os.path.join(args.out, "stamp.txt")
    generator = open(__file__, "rb").read()
    stamp = "files=%d total_mb=%g generator=%d\n" % (args.files, args.total_mb,
                                                     hash_bytes(generator))
    if os.path.exists(stamp_path) and open(stamp_path).read() == stamp:
        return
    total, vendor_files = write_inf_folder(args.out, args.files, int(args.total_mb * 1e6))
    write_config(args.out)
    write_machine(args.out)
    with open(os.path.join(args.out, "expect.txt"), "w") as f:
        f.write("section=%s\nprinter=%s\nmatches=%d\nfiles=%d\nbytes=%d\n" % (
            VENDOR, REMOVED_PRINTER, len(vendor_files), args.files, total))
    with open(stamp_path, "w") as f:
        f.write(stamp)
    print("generated %d INF files, %.1f MB, vendor files %s" % (args.files, total / 1e6,
                                                                 ", ".join(vendor_files)))


def hash_bytes(data):
    h = 1469598103934665603
    for b in data:
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return h


if __name__ == "__main__":
    main()
